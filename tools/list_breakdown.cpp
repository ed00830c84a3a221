#include "tools/list_breakdown.h"

#include <jconfig.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/handles.h"
#include "imaging/jpeg_codec.h"
#include "tools/bench_timing.h"
#include "tools/tool_host.h"

namespace fernwick::tools {

namespace {
#define FERNWICK_TEXT_OF(x) #x
#define FERNWICK_TEXT(x) FERNWICK_TEXT_OF(x)
constexpr char kJpegVersion[] = FERNWICK_TEXT(LIBJPEG_TURBO_VERSION);
#ifdef WITH_SIMD
constexpr char kJpegSimd[] = "with SIMD";
#else
constexpr char kJpegSimd[] = "without SIMD";
#endif

// What a string holds on the heap beyond its own object: nothing while short enough to live in it.
std::size_t HeapBytes(const std::wstring& text) {
  return text.capacity() > std::wstring().capacity() ? (text.capacity() + 1) * sizeof(wchar_t) : 0;
}

// Up to `most` items spread evenly through the list.
std::vector<PhotoItem*> Spread(PhotoList& photos, std::size_t most) {
  std::vector<PhotoItem*> chosen;
  const std::size_t count = photos.Count();
  for (std::size_t i = 0; i < most && count; ++i) {
    if (PhotoItem* item = photos.SlotAt(i * count / most); item && item->thumbnail) chosen.push_back(item);
  }
  return chosen;
}

template <typename Step>
double MedianMs(const std::vector<PhotoItem*>& items, Step step) {
  std::vector<double> times;
  for (PhotoItem* item : items) {
    const double t0 = WallSeconds();
    step(*item);
    times.push_back((WallSeconds() - t0) * 1000);
  }
  return Median(times);
}
}  // namespace

void PrintPhotoBytes(const PhotoList& photos, const ThumbnailView& view, double measuredKb) {
  std::size_t count = 0, jpeg = 0, spare = 0, strings = 0, allocations = 0, setKeys = 0;
  for (const auto& item : photos.slots()) {
    if (!item) continue;
    ++count;
    jpeg += item->thumbnail.jpeg.capacity();
    spare += item->thumbnail.jpeg.capacity() - item->thumbnail.jpeg.size();
    strings +=
        HeapBytes(item->sendPath) + HeapBytes(item->sourcePath) + HeapBytes(item->title) + HeapBytes(item->sentDate);
    // The set of listed paths keeps its own folded copy of each source path, in a node of its own.
    setKeys += HeapBytes(FileNameSet::KeyOf(item->sourcePath));
    allocations += 1 + !item->thumbnail.jpeg.empty() + (HeapBytes(item->sendPath) > 0) +
                   (HeapBytes(item->sourcePath) > 0) + (HeapBytes(item->title) > 0) + (HeapBytes(item->sentDate) > 0) +
                   2;
  }
  if (!count) return;
  const double n = static_cast<double>(count);
  const double cellsKb = view.cells().Bytes() / 1024.0;
  // A node of the set: its key's string object, the count, the next pointer and the hash; and a bucket.
  const std::size_t setNode = sizeof(std::wstring) + 3 * sizeof(std::size_t) + sizeof(void*);
  const double blocks = allocations / n;
  const double accounted = (jpeg + strings + setKeys) / n + sizeof(PhotoItem) + sizeof(void*) + setNode;
  std::printf("bytes-thumbnail-jpeg %.0f\nbytes-jpeg-spare %.0f\n", jpeg / n, spare / n);
  std::printf("bytes-photo-item %zu\n", sizeof(PhotoItem));
  std::printf("bytes-item-strings %.0f\n", strings / n);
  std::printf("bytes-path-set %.0f\n", setKeys / n + setNode);
  std::printf("heap-blocks-per-photo %.1f\n", blocks);
  std::printf("bytes-accounted-per-photo %.0f\n", accounted);
  std::printf("drawn-cells %zu\ndrawn-cells-kb %.0f\n", view.cells().size(), cellsKb);
  std::printf("memory-per-photo-less-cells-kb %.1f\n", measuredKb - cellsKb / n);
}

void PrintCellSteps(PhotoList& photos, ThumbnailView& view) {
  std::printf("jpeg-library libjpeg-turbo %s %s\n", kJpegVersion, kJpegSimd);
  const std::vector<PhotoItem*> items = Spread(photos, 60);
  if (items.empty()) return;
  const CellBounds cell = CellAround(0, 0, view.dpi());
  const int side = cell.right - cell.left;
  WindowDc window(view.hwnd());
  UniqueMemoryDc memory(::CreateCompatibleDC(window.get()));
  UniqueHBitmap bitmap(::CreateCompatibleBitmap(window.get(), side, side));
  const SelectScope selected(memory.get(), bitmap.get());
  const auto drawCell = [&](const PhotoItem& item) {
    item.DrawInCell(memory.get(), POINT{item.centreX - side / 2, item.centreY - side / 2});
  };
  std::printf("cell-decode-ms %.3f\n",
              MedianMs(items, [](const PhotoItem& item) { DecodeJpeg(item.thumbnail.jpeg, 4); }));
  std::printf("cell-draw-ms %.3f\n", MedianMs(items, drawCell));
  std::printf("cell-draw-turned-ms %.3f\n", MedianMs(items, [&](PhotoItem& item) {
                item.TurnQuarter(true);
                drawCell(item);
                item.TurnQuarter(false);
              }));
  // What the cache spends on a cell beside drawing it: a bitmap of its own, cleared.
  std::printf("cell-bitmap-ms %.3f\n", MedianMs(items, [&](const PhotoItem&) {
                UniqueHBitmap own(::CreateCompatibleBitmap(memory.get(), side, side));
                const SelectScope into(memory.get(), own.get());
                const RECT all{0, 0, side, side};
                ::FillRect(memory.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
              }));
  std::printf("cell-blit-ms %.3f\n", MedianMs(items, [&](const PhotoItem&) {
                ::BitBlt(window.get(), 0, 0, side, side, memory.get(), 0, 0, SRCCOPY);
                ::GdiFlush();
              }));
  // What a paint walks to find its cells: every slot of the list.
  std::printf("layout-walk-ms %.3f\n", MedianMs(items, [&](const PhotoItem&) {
                volatile int32_t found = 0;
                for (const auto& slot : photos.slots()) {
                  if (slot && CellAround(slot->centreX, slot->centreY, view.dpi()).top < 0) found = found + 1;
                }
              }));
  RECT client{};
  ::GetClientRect(view.hwnd(), &client);
  // A whole screen painted off the window, of cells kept and of cells never drawn; and a scroll
  // with its paint left out: what the window system adds to a notch beside the painting.
  UniqueHBitmap screen(::CreateCompatibleBitmap(window.get(), client.right, client.bottom));
  const SelectScope onScreen(memory.get(), screen.get());
  const auto paintMs = [&](bool fresh) {
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
      if (fresh) view.Layout();
      const double t0 = WallSeconds();
      ::SendMessageW(view.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
      times.push_back((WallSeconds() - t0) * 1000);
      ::ValidateRect(view.hwnd(), nullptr);
    }
    return Median(times);
  };
  std::printf("paint-kept-cells-ms %.3f\npaint-new-cells-ms %.3f\n", paintMs(false), paintMs(true));
  std::vector<double> scrolls;
  for (int i = 0; i < 20; ++i) {
    const double t0 = WallSeconds();
    ::SendMessageW(view.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ::ValidateRect(view.hwnd(), nullptr);
    scrolls.push_back((WallSeconds() - t0) * 1000);
  }
  std::printf("scroll-unpainted-ms %.3f\n", Median(scrolls));
  const int columns = client.right / side, rows = (client.bottom + side - 1) / side + 1;
  std::printf("cells-per-screen %d\n", columns * rows);
}

}  // namespace fernwick::tools
