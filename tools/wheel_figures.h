#pragma once
// What a wheel notch costs in the photo list's view: notches down and up again over the same
// cells (all kept drawn after the first two), notches on down the list back to back (each
// onto cells never drawn), and the same with the window idle before each (the view has drawn
// ahead), each timed until its drawing can be read back from the window.
#include "thumbview/thumbnail_view.h"

namespace fernwick::tools {

struct WheelFigures {
  double keptMs = 0, keptCpuMs = 0;  // a notch up and down again, over cells kept: median, mean
  double backToBackMs = 0, backToBackWorstMs = 0, backToBackCpuMs = 0;
  double afterIdleMs = 0, afterIdleWorstMs = 0;
  double drawingAheadMs = 0;  // idle time the view spent drawing ahead before a notch, median
  double layoutMs = 0;        // the layout before the back-to-back notches, with its paint
  int notches = 0;
};

// The view must show a list long enough to scroll; it is laid out again (and scrolled to the
// top) before each series.
WheelFigures MeasureWheel(ThumbnailView& view);

// Where a cell never drawn spends the UI thread's time: milliseconds a cell, over the list's
// first photos drawn at the view's DPI into sections like the cell cache's.
struct CellCosts {
  double decode = 0;      // the stored thumbnail decoded straight into the section's pixels
  double shown = 0;       // decoded into a picture of its own, sized and turned as drawn (ShownThumbnail)
  double setBits = 0;     // those pixels copied into the cell's section
  double fill = 0;        // the whole cell filled with the window colour
  double frame = 0;       // the frame alone
  double drawInCell = 0;  // the picture and its frame (PhotoItem::DrawInCell)
  double cell = 0;        // a whole cell drawn into a full cache (reusing a section)
  int cells = 0;
};
CellCosts MeasureCellCosts(const PhotoList& photos, int dpi);

// Lets the view draw ahead until it is done or a second passed, as between a user's notches.
void IdleWhileDrawingAhead(const ThumbnailView& view);

// Reads a pixel of the window back, which waits until the drawing before it is done.
COLORREF ScreenPixel(HWND window, int x, int y);

// The thread's processor time in milliseconds.
double ThreadCpuMs();

}  // namespace fernwick::tools
