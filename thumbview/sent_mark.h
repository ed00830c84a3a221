#pragma once
// The mark in the top right corner of a cell whose photo the current account already uploaded:
// a green disc with a white tick, or an amber one with a white "!" when the photo may be on the
// site (its answer was lost). Drawn with GDI in proportion to the cell, which follows the DPI,
// so it is as sharp at 200 % as at 100 %.
#include <windows.h>

#include "imaging/photo_item.h"

namespace fernwick {

// `cell` is the cell's rectangle in `dc`.
void DrawSentMark(HDC dc, const RECT& cell, PhotoItem::SentBefore sent);

// The tooltip's line for such a photo, empty for the others.
std::wstring SentTooltipLine(const PhotoItem& item);

}  // namespace fernwick
