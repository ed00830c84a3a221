#include "tools/wheel_figures.h"

#include <algorithm>
#include <vector>

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
  view.Layout();  // forgets every drawn cell
  ::UpdateWindow(view.hwnd());
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
