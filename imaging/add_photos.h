#pragma once
// Adding photos to the list: the add routine, the Add command's open dialog and files
// dropped on the view. Refusals (duplicates, files that are no pictures) are silent; photos
// whose working copy cannot be written are told once per batch. None of them lays out or repaints: whoever shows the list does that once after a batch, when told
// that one was taken.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

namespace fernwick {

class PhotoList;
class PreparationReport;

// Adds one photo: refuses a path already in the list and files that neither libjpeg-turbo nor
// GDI+ can decode. Every working copy stands upright (the EXIF or TIFF orientation applied,
// orientation 1 in the copy's metadata): a scaled copy when a side of the upright picture
// exceeds `limit` (compared as unsigned), a same-size copy for BMP, GIF, PNG and TIFF files and
// for a picture stored turned or mirrored (a JPEG without decoding where its edges allow). A
// JPEG stored upright within the limit is sent as the user's file, byte for byte. The new photo
// becomes the selection. True when added.
// A photo whose working copy cannot be written is not added; it goes into `report` (when given)
// for the user to be told.
bool AddPhoto(PhotoList& photos, const std::wstring& path, int32_t limit, PreparationReport* report = nullptr);

// Runs the open dialog; GetOpenFileNameW unless a test supplies its own.
using OpenFileDialogRunner = std::function<BOOL(OPENFILENAMEW&)>;
BOOL RunOpenFileDialog(OPENFILENAMEW& dialog);

// The filter of the open dialog, pairs of zero-terminated strings ending with an empty one.
std::wstring OpenDialogFilter();

// The Add command: the multiple-selection open dialog (owner: `owner`, or the active window
// when none is given), then AddPhoto with the current size limit for every chosen file.
// True when the dialog gave files, even if none was added: the list is then shown afresh.
// False, and nothing at all done, when the dialog fails or is cancelled.
bool AddPhotosWithDialog(HWND owner, PhotoList& photos, const OpenFileDialogRunner& run = RunOpenFileDialog);

// WM_DROPFILES: adds the dropped files with a picture extension (no "jpe" here) and releases
// the drop. True when a file with such an extension was taken (added or not).
// Photos that could not be prepared are told in one message box owned by `owner`'s window.
bool AddDroppedFiles(HDROP drop, PhotoList& photos, HWND owner);

}  // namespace fernwick
