#pragma once
// Adding photos to the list: the add routine, the Add command's open dialog and files
// dropped on the view. Refusals (duplicates, files that are no pictures) are silent.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

namespace fernwick {

class ThumbnailView;

// Adds one photo: refuses a path already in the list and files GDI+ cannot decode; makes a
// scaled working copy when a side exceeds `limit` (compared as unsigned), a same-size JPEG
// copy for BMP, GIF, PNG and TIFF files, and otherwise sends the user's file as it is. The
// new photo becomes the selection. Neither lays out nor repaints. True when added.
bool AddPhoto(ThumbnailView& view, const std::string& path, int32_t limit);

// Runs the open dialog; GetOpenFileNameA unless a test supplies its own.
using OpenFileDialogRunner = std::function<BOOL(OPENFILENAMEA&)>;
BOOL RunOpenFileDialog(OPENFILENAMEA& dialog);

// The filter of the open dialog, pairs of zero-terminated strings ending with an empty one.
std::string OpenDialogFilter();

// The Add command: the multiple-selection open dialog (owner: `owner`, or the active window
// when none is given), AddPhoto with the current size limit for every chosen file, then a
// fresh layout and an immediate repaint of the view. Nothing at all when the dialog fails.
void AddPhotosWithDialog(HWND owner, ThumbnailView& view, const OpenFileDialogRunner& run = RunOpenFileDialog);

// WM_DROPFILES: adds the dropped files with a picture extension (no "jpe" here), lays the
// view out and repaints when one was taken, and releases the drop.
void AddDroppedFiles(HDROP drop, ThumbnailView& view);

}  // namespace fernwick
