#pragma once
// The Add command all on the calling thread, as the tests of the open dialog and of AddPhoto
// drive it together (the program queues the chosen files with its PhotoPreparer instead).
#include <windows.h>

#include "imaging/add_photos.h"

namespace fernwick::test {

// The multiple-selection open dialog (owner: `owner`, or the active window when none is given),
// then AddPhoto with the current size limit for every chosen file. True when the dialog gave
// files, even if none was added; false, and nothing at all done, when it failed or was cancelled.
bool AddPhotosWithDialog(HWND owner, PhotoList& photos, const OpenFileDialogRunner& run = RunOpenFileDialog);

}  // namespace fernwick::test
