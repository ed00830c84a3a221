#pragma once
// Where the photo list's figures come from, for photo_bench's list mode: the bytes each listed
// photo holds, part by part, and the milliseconds a cell never drawn before costs, step by step.
#include <windows.h>

#include "thumbview/thumbnail_view.h"

namespace fernwick::tools {

// The parts of a listed photo's memory, per photo, beside `measuredKb` (what the process grew by,
// per photo) less the drawn cells the view keeps.
void PrintPhotoBytes(const PhotoList& photos, const ThumbnailView& view, double measuredKb);

// The median milliseconds of a cell's steps, over cells spread through the list: the thumbnail's
// decode, its drawing into a cell bitmap unturned and turned, the cell's copy to the window, and
// the walk over the list that finds the cells a paint needs.
void PrintCellSteps(PhotoList& photos, ThumbnailView& view);

}  // namespace fernwick::tools
