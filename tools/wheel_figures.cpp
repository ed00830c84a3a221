#include "tools/wheel_figures.h"

#include <algorithm>
#include <vector>

#include "imaging/compressed_thumbnail.h"
#include "imaging/jpeg_codec.h"
#include "tools/bench_timing.h"

namespace fernwick::tools {

namespace {
void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

double Worst(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

// One notch (down the list unless `up`), until its drawing can be read back; milliseconds.
double Notch(HWND view, bool up = false) {
  const double t0 = WallSeconds();
  ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(up ? 120 : -120)), 0);
  ScreenPixel(view, 65, 70);
  return (WallSeconds() - t0) * 1000;
}

bool MoreBelow(HWND view) {
  SCROLLINFO bar{sizeof(bar), SIF_RANGE | SIF_PAGE | SIF_POS};
  ::GetScrollInfo(view, SB_VERT, &bar);
  return bar.nPos + static_cast<int>(bar.nPage) < bar.nMax + 1;
}
}  // namespace

COLORREF ScreenPixel(HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF colour = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return colour;
}

void IdleWhileDrawingAhead(const ThumbnailView& view) {
  const double idle = WallSeconds();
  Pump();
  while (view.drawingAhead() && WallSeconds() - idle < 1) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Pump();
  }
}

CellCosts MeasureCellCosts(const PhotoList& photos, int dpi) {
  constexpr std::size_t kMostCells = 200;
  std::vector<const PhotoItem*> items;
  for (std::size_t slot = 0; items.size() < kMostCells && slot < photos.Count(); ++slot) {
    if (const PhotoItem* item = photos.SlotAt(slot); item && item->thumbnail) items.push_back(item);
  }
  CellCosts costs;
  if (items.empty()) return costs;
  const int32_t side = 2 * ScaleForDpi(kHalfCell, dpi);
  const WindowDc screen(nullptr);
  const UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(info.bmiHeader), side, -side, 1, 32, BI_RGB};
  void* bits = nullptr;
  const UniqueHBitmap section(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dc || !section) return costs;
  const SelectScope selected(dc.get(), section.get());
  const RECT all{0, 0, side, side};
  // The item's content point that the section's top left shows.
  const auto origin = [&](const PhotoItem& item) {
    const CellBounds cell = CellAround(item.centreX, item.centreY, dpi);
    return POINT{cell.left, cell.top};
  };
  // Each stage over every item, five times: the fastest round's milliseconds a cell, the nearest
  // to the stage's own cost when the machine is busy with other work.
  const auto each = [&](auto stage) {
    double best = 0;
    for (int round = 0; round < 5; ++round) {
      const double start = WallSeconds();
      for (const PhotoItem* item : items) stage(*item);
      const double ms = (WallSeconds() - start) * 1000 / static_cast<double>(items.size());
      if (round == 0 || ms < best) best = ms;
    }
    return best;
  };
  costs.decode = each([&](const PhotoItem& item) {
    (void)DecodeJpegInto(item.thumbnail.jpeg, static_cast<uint8_t*>(bits), std::size_t{4} * side, item.thumbnail.width,
                         item.thumbnail.height);
  });
  PixelBuffer shown;
  costs.shown = each([&](const PhotoItem& item) {
    shown = ShownThumbnail(item.thumbnail, 0, item.thumbnail.width, item.thumbnail.height);
  });
  costs.setBits = each([&](const PhotoItem&) { DrawPixels(dc.get(), 0, 0, shown); });
  costs.fill = each([&](const PhotoItem&) { ::FillRect(dc.get(), &all, ::GetSysColorBrush(COLOR_WINDOW)); });
  costs.frame = each([&](const PhotoItem& item) { item.DrawFrame(dc.get(), origin(item)); });
  costs.drawInCell = each([&](const PhotoItem& item) { item.DrawInCell(dc.get(), origin(item)); });
  // The cache as the view's is once full: the cells each take the section of the cell used
  // longest ago (the first round fills it).
  CellCache cache;
  cache.FitScreen(1, side);
  costs.cell = each(
      [&](const PhotoItem& item) { cache.Prepare(screen.get(), item, CellAround(item.centreX, item.centreY, dpi)); });
  costs.cells = static_cast<int>(items.size());
  return costs;
}

double ThreadCpuMs() { return ThreadSeconds() * 1000; }

WheelFigures MeasureWheel(ThumbnailView& view) {
  constexpr int kMostNotches = 100;
  WheelFigures figures;
  std::vector<double> kept;
  view.Layout();
  ::UpdateWindow(view.hwnd());
  const double keptCpu = ThreadCpuMs();
  for (int i = 0; i < kMostNotches; ++i) kept.push_back(Notch(view.hwnd(), i % 2 == 1));
  figures.keptMs = Median(kept);
  figures.keptCpuMs = (ThreadCpuMs() - keptCpu) / kMostNotches;
  // Back to back: no message is pumped between notches, so the view never draws ahead.
  std::vector<double> onward;
  const double layout = WallSeconds();
  view.Layout();  // forgets every drawn cell
  ::UpdateWindow(view.hwnd());
  ScreenPixel(view.hwnd(), 65, 70);
  figures.layoutMs = (WallSeconds() - layout) * 1000;
  const double cpu = ThreadCpuMs();
  for (int i = 0; i < kMostNotches && MoreBelow(view.hwnd()); ++i) onward.push_back(Notch(view.hwnd()));
  figures.backToBackMs = Median(onward);
  figures.backToBackWorstMs = Worst(onward);
  figures.backToBackCpuMs = onward.empty() ? 0.0 : (ThreadCpuMs() - cpu) / static_cast<double>(onward.size());
  figures.notches = static_cast<int>(onward.size());
  // The window idle before each notch, as between a user's notches.
  std::vector<double> ahead, drawing;
  view.Layout();
  ::UpdateWindow(view.hwnd());
  for (int i = 0; i < kMostNotches && MoreBelow(view.hwnd()); ++i) {
    const double idle = WallSeconds();
    IdleWhileDrawingAhead(view);
    drawing.push_back((WallSeconds() - idle) * 1000);
    ahead.push_back(Notch(view.hwnd()));
  }
  figures.afterIdleMs = Median(ahead);
  figures.afterIdleWorstMs = Worst(ahead);
  figures.drawingAheadMs = Median(drawing);
  return figures;
}

}  // namespace fernwick::tools
