// Figures for the photo list under load; run by scripts/bench-photos.sh, which also times
// ImageMagick on the same files.
//   photo_bench.exe generate DIR   makes the pictures (not timed)
//   photo_bench.exe add DIR        adds the 50 JPEG and 50 PNG pictures through the Add command
//   photo_bench.exe list DIR [COUNT [DPI]]  COUNT photos (1,000 unless given; more are hard links
//                                  to the 1,000 pictures) on a grid of DPI (96 unless given):
//                                  memory, click, turn, wheel and repaint times
//   photo_bench.exe wheel DIR COUNT DPI  the same list, only the wheel's notches (one line:
//                                  count, dpi, back to back median / worst / processor ms,
//                                  after idle median / worst, notches, over kept cells median /
//                                  processor ms)
//   photo_bench.exe memory DIR [COUNT [DPI]]  the same photos: the memory figures alone, and
//                                  the memory once scrolling has filled the drawn cells
//   photo_bench.exe stages DIR     where one photo's preparation spends its time, step by step
#include <windows.h>

#include <algorithm>
#include <memory>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/core/sha256.h"
#include "base/program_state.h"
#include "base/ui_task.h"
#include "base/text_936.h"
#include "imaging/add_photos.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/pixel_store.h"
#include "imaging/core/picture_header.h"
#include "imaging/core/resampler.h"
#include "imaging/file_bytes.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_io.h"
#include "imaging/picture_pixels.h"
#include "imaging/photo_preparer.h"
#include "imaging/upright_copies.h"
#include "tools/bench_timing.h"
#include "tools/list_breakdown.h"
#include "tools/tool_host.h"
#include "tools/wheel_figures.h"
#include "tools/scene_pictures.h"

namespace {

using namespace fernwick;
using tools::Median;
using tools::Memory;
using tools::ProcessMemory;
using tools::ScreenPixel;
using tools::WallSeconds;

constexpr int kLargeCount = 50;
constexpr int kListCount = 1000;

// The benchmark's names are ASCII.
std::wstring Name(const char* stem, int i, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof(name), "%s%04d.%s", stem, i, extension);
  return WideFrom936(name);
}

int Generate(const std::wstring& dir) {
  ::CreateDirectoryW(dir.c_str(), nullptr);
  ::CreateDirectoryW((dir + L"list").c_str(), nullptr);
  struct Kind {
    const char* stem;
    int width, height, count;
    const char* format;
    std::wstring folder;
  };
  const Kind kinds[] = {{"j", 4000, 3000, kLargeCount, "jpg", dir},
                        {"p", 1000, 800, kLargeCount, "png", dir},
                        {"l", 640, 480, kListCount, "jpg", dir + L"list\\"}};
  for (const Kind& kind : kinds) {
    // A few different pictures, copied to the full count: the content matters little here.
    for (int i = 0; i < kind.count; ++i) {
      const std::wstring path = kind.folder + Name(kind.stem, i, kind.format);
      if (i < 4) {
        GpBitmapPtr scene = tools::MakeScene(kind.width, kind.height, i);
        if (!tools::SaveScene(scene.get(), path, kind.format)) return 1;
      } else {
        ::CopyFileW((kind.folder + Name(kind.stem, i % 4, kind.format)).c_str(), path.c_str(), FALSE);
      }
    }
  }
  return 0;
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// Adds the files as the program's Add command does, on its worker threads, waiting until the last
// one is in the list; the grid laid out and painted again after. The one place the benchmark adds
// a batch: the figure follows whatever the command does.
void AddBatch(tools::ToolHost& host, const std::wstring& dir, const std::vector<std::wstring>& names) {
  std::vector<std::wstring> paths;
  for (const std::wstring& name : names) paths.push_back(dir + name);
  const std::shared_ptr<UiTaskChannel> channel = UiTaskChannel::Open(host.hwnd());
  PhotoPreparer preparer(host.photos);
  preparer.Attach(channel, nullptr, host.hwnd());
  preparer.Add(paths, SizeLimit());
  while (preparer.busy()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    Pump();
  }
  preparer.Shutdown();
  channel->Close();
  host.view.LayOutAndRepaint();
}

int Add(const std::wstring& dir) {
  tools::ToolHost host("Fernwick bench", 720, 500);
  host.Show();
  SetSizeLimit(1024);
  for (const char* kind : {"j", "p"}) {
    std::vector<std::wstring> names;
    for (int i = 0; i < kLargeCount; ++i) names.push_back(Name(kind, i, kind[0] == 'j' ? "jpg" : "png"));
    const double start = WallSeconds();
    AddBatch(host, dir, names);
    const double seconds = WallSeconds() - start;
    std::printf("add %s %.3f\n", kind[0] == 'j' ? "jpeg-4000x3000" : "png-1000x800", seconds);
  }
  std::printf("added %u\n", host.photos.Count());
  // The first photo's working copy, for the script to compare with a reference shrinking.
  if (const PhotoItem* first = host.photos.SlotAt(0)) {
    ::CopyFileW(first->sendPath.c_str(), (dir + L"fernwick-j0000.jpg").c_str(), FALSE);
  }
  return 0;
}

// The list's file names past the 1,000 pictures: hard links to them, so that each is another file
// of the same size without taking the disk's room.
std::wstring ListPicture(const std::wstring& dir, int i) {
  const std::wstring path = dir + L"list\\" + Name("l", i, "jpg");
  if (i >= kListCount && ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ::CreateHardLinkW(path.c_str(), (dir + L"list\\" + Name("l", i % kListCount, "jpg")).c_str(), nullptr);
  }
  return path;
}

// What a list run prints besides the memory with 1,000 photos and with all: everything, only the
// wheel's figures (one line), or the memory once scrolling has filled the drawn cells.
enum class ListFigures { kAll, kWheel, kMemory };

int List(const std::wstring& dir, int count, int dpi, ListFigures figures) {
  // The window of the 96-DPI figures, scaled to the DPI as far as the screen allows.
  const int viewHeight = std::min(ScaleForDpi(500, dpi), 980);
  tools::ToolHost host("Fernwick bench", std::min(ScaleForDpi(720, dpi), 1260), viewHeight);
  ThumbnailView& view = host.view;
  view.SetDpi(dpi);
  host.photos.SetThumbnailBox(ScaleForDpi(kThumbnailBox, dpi));
  host.Show();
  Pump();
  std::vector<std::wstring> paths;
  for (int i = 0; i < count; ++i) paths.push_back(ListPicture(dir, i));
  const auto addAndShow = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) AddPhoto(host.photos, paths[i], 1024);
    ReleaseKeptMemory();  // as an adding worker does once its add has ended
    view.Layout();
    ::UpdateWindow(view.hwnd());
  };
  const Memory before = ProcessMemory();
  const double start = WallSeconds();
  const std::size_t first = std::min<std::size_t>(paths.size(), kListCount);
  addAndShow(0, first);
  double addSeconds = WallSeconds() - start;
  Pump();
  const Memory atFirst = ProcessMemory();
  const tools::HeapFigures heapAtFirst = tools::WalkHeaps();
  const double restStart = WallSeconds();
  addAndShow(first, paths.size());
  addSeconds += WallSeconds() - restStart;
  Pump();
  if (figures == ListFigures::kWheel) {
    const tools::WheelFigures wheel = tools::MeasureWheel(view);
    std::printf("wheel %u %d %.1f %.1f %.1f %.1f %.1f %d %.1f %.1f %.1f\n", host.photos.Count(), dpi,
                wheel.backToBackMs, wheel.backToBackWorstMs, wheel.backToBackCpuMs, wheel.afterIdleMs,
                wheel.afterIdleWorstMs, wheel.notches, wheel.keptMs, wheel.keptCpuMs, wheel.layoutMs);
    const tools::CellCosts cell = tools::MeasureCellCosts(host.photos, dpi);
    std::printf("cell-ms %d %.3f %.3f %.3f %.3f %.3f %.3f %.3f %d\n", dpi, cell.decode, cell.shown, cell.setBits,
                cell.fill, cell.frame, cell.drawInCell, cell.cell, cell.cells);
    return 0;
  }
  const Memory after = ProcessMemory();
  const tools::HeapFigures heapAfter = tools::WalkHeaps();
  std::printf("list-count %u\nlist-dpi %d\n", host.photos.Count(), dpi);
  std::printf("list-add-seconds %.3f\n", addSeconds);
  std::printf("memory-0 %.1f\nmemory-1000 %.1f\nmemory-per-photo-kb %.1f\n", before.committed, after.committed,
              (after.committed - before.committed) * 1024.0 / count);
  std::printf("working-set-0 %.1f\nworking-set-1000 %.1f\nworking-set-per-photo-kb %.1f\n", before.workingSet,
              after.workingSet, (after.workingSet - before.workingSet) * 1024.0 / count);
  // What each photo past the first 1,000 added: the cost of one more listed photo, without the
  // fixed costs (the drawn cells, the libraries' first allocations) that the
  // average spreads over the list.
  if (paths.size() > first) {
    const double more = static_cast<double>(paths.size() - first);
    std::printf("memory-at-1000 %.1f\nworking-set-at-1000 %.1f\n", atFirst.committed, atFirst.workingSet);
    std::printf("memory-at-1000-per-photo-kb %.1f\nworking-set-at-1000-per-photo-kb %.1f\n",
                (atFirst.committed - before.committed) * 1024.0 / first,
                (atFirst.workingSet - before.workingSet) * 1024.0 / first);
    std::printf("memory-marginal-per-photo-kb %.1f\nworking-set-marginal-per-photo-kb %.1f\n",
                (after.committed - atFirst.committed) * 1024.0 / more,
                (after.workingSet - atFirst.workingSet) * 1024.0 / more);
    // The same growth as the heaps see it: the bytes of blocks in use, the heap's own per block,
    // and what is committed but free.
    std::printf("heap-used-marginal-per-photo %.0f\nheap-overhead-marginal-per-photo %.0f\n",
                (heapAfter.used - heapAtFirst.used) / more, (heapAfter.overhead - heapAtFirst.overhead) / more);
    std::printf("heap-blocks-marginal-per-photo %.1f\nheap-free-marginal-per-photo %.0f\nheap-free-kb %.0f\n",
                (heapAfter.blocks - heapAtFirst.blocks) / more, (heapAfter.free - heapAtFirst.free) / more,
                heapAfter.free / 1024.0);
  }
  tools::PrintPhotoBytes(host.photos, view, (after.committed - before.committed) * 1024.0 / count);
  if (figures == ListFigures::kMemory) {
    // A user's scrolling fills the drawn cells up to the view's bound: the memory then.
    for (int i = 0; i < 40; ++i) {
      ::SendMessageA(view.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
      ::UpdateWindow(view.hwnd());
      tools::IdleWhileDrawingAhead(view);
    }
    const Memory scrolled = ProcessMemory();
    std::printf("memory-scrolled %.1f\nworking-set-scrolled %.1f\n", scrolled.committed, scrolled.workingSet);
    std::printf("scrolled-drawn-cells %zu\nscrolled-drawn-cells-kb %.0f\n", view.cells().size(),
                view.cells().Bytes() / 1024.0);
    return 0;
  }

  auto measure = [&](const char* label) {
    std::vector<double> clicks, turns;
    const PhotoItem* a = host.photos.SlotAt(0);
    const PhotoItem* b = host.photos.SlotAt(1);
    // The two cells nearest the current scroll position.
    const int32_t top = view.ScrollOffset().y;
    for (unsigned i = 0; i + 1 < host.photos.Count(); ++i) {
      if (host.photos.SlotAt(i)->centreY - top >= 70) {
        a = host.photos.SlotAt(i);
        b = host.photos.SlotAt(i + 1);
        break;
      }
    }
    int wrong = 0;
    for (int i = 0; i < 200; ++i) {
      const PhotoItem* target = i % 2 ? a : b;
      const int y = target->centreY - view.ScrollOffset().y;
      const double t0 = WallSeconds();
      ::SendMessageA(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(target->centreX, y));
      const COLORREF frame = ScreenPixel(view.hwnd(), target->frameRect.left - 4, y);
      clicks.push_back((WallSeconds() - t0) * 1000);
      if (frame != kSelectedFrameColour) ++wrong;
      const double t1 = WallSeconds();
      view.RotateSelected(true);
      ::UpdateWindow(view.hwnd());
      ScreenPixel(view.hwnd(), target->centreX, y);
      turns.push_back((WallSeconds() - t1) * 1000);
      Pump();
    }
    if (wrong) std::printf("click-frame-missing-%s %d\n", label, wrong);
    std::printf("click-ms-%s %.3f\nturn-ms-%s %.3f\n", label, Median(clicks), label, Median(turns));
  };
  measure("top");
  ::SendMessageA(view.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  ::UpdateWindow(view.hwnd());
  measure("bottom");

  const tools::WheelFigures wheelFigures = tools::MeasureWheel(view);
  std::printf("wheel-notch-ms %.3f\nwheel-notch-cpu-ms %.3f\n", wheelFigures.keptMs, wheelFigures.keptCpuMs);
  std::printf("wheel-notch-new-ms %.3f\nwheel-notch-new-worst-ms %.3f\nwheel-notch-new-cpu-ms %.3f\n",
              wheelFigures.backToBackMs, wheelFigures.backToBackWorstMs, wheelFigures.backToBackCpuMs);
  std::printf("wheel-notch-ahead-ms %.3f\nwheel-notch-ahead-worst-ms %.3f\ndrawing-ahead-ms %.3f\n",
              wheelFigures.afterIdleMs, wheelFigures.afterIdleWorstMs, wheelFigures.drawingAheadMs);
  // The read-back alone, which every figure above includes.
  std::vector<double> reads;
  for (int i = 0; i < 50; ++i) {
    const double t0 = WallSeconds();
    ScreenPixel(view.hwnd(), 65, 70);
    reads.push_back((WallSeconds() - t0) * 1000);
  }
  std::printf("screen-read-ms %.3f\n", Median(reads));
  std::vector<double> full;
  for (int i = 0; i < 50; ++i) {
    const double t0 = WallSeconds();
    ::InvalidateRect(view.hwnd(), nullptr, TRUE);
    ::UpdateWindow(view.hwnd());
    ScreenPixel(view.hwnd(), 65, 70);
    full.push_back((WallSeconds() - t0) * 1000);
  }
  std::printf("full-repaint-ms %.3f\n", Median(full));
  tools::PrintCellSteps(host.photos, view);
  return 0;
}

// The median of `runs` timings of `step`, in milliseconds, printed under `label`.
template <typename Step>
void TimeStep(const char* label, Step step, int runs = 7) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double t0 = WallSeconds();
    step();
    times.push_back((WallSeconds() - t0) * 1000);
  }
  std::printf("stage %-28s %8.2f ms\n", label, Median(times));
}

// One JPEG 4000 x 3000 and one PNG 1000 x 800 through each step of their preparation, on one
// thread, and the whole preparation for comparison.
int Stages(const std::wstring& dir) {
  const std::wstring jpegPath = dir + Name("j", 0, "jpg");
  const std::wstring copyPath = dir + L"stage-copy.jpg";
  std::vector<uint8_t> bytes;
  TimeStep("jpeg read file", [&] { bytes = ReadFileBytes(jpegPath).value_or(std::vector<uint8_t>{}); });
  const std::optional<JpegSize> size = ReadJpegSize(bytes);
  if (!size) return 1;
  TimeStep("jpeg header", [&] { ReadJpegSize(bytes); });
  const PixelSize target = ScaledSize(size->width, size->height, 1024);
  const uint32_t denominator = DecodeDenominatorFor(size->width, size->height, target);
  std::optional<PixelBuffer> decoded;
  for (uint32_t d : {1u, 2u, 4u, 8u}) {
    char label[40];
    std::snprintf(label, sizeof(label), "jpeg decode 1/%u", d);
    TimeStep(label, [&] { decoded = DecodeJpeg(bytes, 3, d); });
  }
  TimeStep("jpeg decode chosen", [&] { decoded = DecodeJpeg(bytes, 3, denominator); });
  PixelBuffer scaled;
  TimeStep("resample to 1024", [&] { scaled = ResamplePixels(*decoded, target.width, target.height); });
  TimeStep("decode and resample by rows", [&] {
    scaled = DecodeJpegResampled(bytes, denominator, target.width, target.height).value_or(PixelBuffer{});
  });
  std::vector<AppSegment> segments;
  TimeStep("metadata for the copy", [&] { segments = SegmentsForUprightCopy(bytes, target.width, target.height); });
  std::optional<std::vector<uint8_t>> encoded;
  TimeStep("encode 1024 q90", [&] { encoded = EncodeJpeg(scaled, segments, 90); });
  TimeStep("encode 1024 as working copies",
           [&] { encoded = EncodeJpeg(scaled, segments, kWorkingCopyQuality, kWorkingCopyColour); });
  TimeStep("write file", [&] { WriteFileBytes(copyPath, *encoded); });
  std::printf("stage %-28s %8zu bytes\n", "encoded copy", encoded->size());
  TimeStep("thumbnail from pixels", [&] { PhotoItem item(copyPath, scaled); });
  TimeStep("sha-256 of the file", [&] { Sha256Of(bytes); });
  TimeStep("whole jpeg preparation", [&] { PreparePhoto(jpegPath, 1024, 9001); });

  const std::wstring pngPath = dir + Name("p", 0, "png");
  TimeStep("png read file", [&] { bytes = ReadFileBytes(pngPath).value_or(std::vector<uint8_t>{}); });
  TimeStep("png header checks", [&] { JpegTooLargeToDecode(bytes) || PictureTooLargeToDecode(bytes); });
  GpBitmapPtr png;
  TimeStep("png decode (GDI+)", [&] { png = DecodePicture(pngPath); });
  std::optional<PixelBuffer> pngPixels;
  TimeStep("png pixels out of GDI+", [&] { pngPixels = PixelsOf(png.get()); });
  TimeStep("png ICC profile", [&] { IccSegmentsOf(png.get()); });
  TimeStep("png encode q90", [&] { encoded = EncodeJpeg(*pngPixels, {}, 90); });
  TimeStep("png thumbnail from pixels", [&] { PhotoItem item(copyPath, *pngPixels); });
  TimeStep("png thumbnail decoding copy", [&] { PhotoItem item(copyPath); });
  TimeStep("whole png preparation", [&] { PreparePhoto(pngPath, 1024, 9002); });
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  tools::ToolPlatform platform;
  if (argc < 3) {
    std::fprintf(stderr, "usage: photo_bench generate|add|list|wheel|memory|stages DIR\n");
    return 2;
  }
  // scripts/bench-photos.sh passes an ASCII folder, under code page 936.
  std::wstring dir = WideFrom936(argv[2]);
  if (dir.empty() || dir.back() != L'\\') dir += L'\\';
  const std::string mode = argv[1];
  if (mode == "generate") return Generate(dir);
  if (mode == "add") return Add(dir);
  if (mode == "list" || mode == "wheel" || mode == "memory") {
    const ListFigures figures = mode == "wheel"    ? ListFigures::kWheel
                                : mode == "memory" ? ListFigures::kMemory
                                                   : ListFigures::kAll;
    return List(dir, argc > 3 ? std::atoi(argv[3]) : kListCount, argc > 4 ? std::atoi(argv[4]) : kBaseDpi, figures);
  }
  if (mode == "stages") return Stages(dir);
  return 2;
}
