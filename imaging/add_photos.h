#pragma once
// Adding photos to the list: the add routine, the Add command's open dialog and files
// dropped on the view. Refusals (duplicates, files that are no pictures) are silent; photos
// whose working copy cannot be written are told once per batch. None of them lays out or
// repaints: whoever shows the list does that once after a batch, when told that one was taken.
//
// Adding is two steps: PreparePhoto does the slow part (reading, decoding, the working copy,
// the thumbnail) and touches no list and no window, so a worker thread may run it;
// ApplyPreparedPhoto puts the result into the list on the UI thread. AddPhoto does both at once.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "imaging/photo_item.h"

namespace fernwick {

class PhotoList;
class PreparationReport;

// A working copy written for a photo that is not in the list yet. It is deleted with this object
// unless kept, so a photo that never reaches the list (stopped, refused as a duplicate, its
// window closed) leaves no file behind. Never names the user's own file.
class WrittenCopy {
 public:
  WrittenCopy() = default;
  explicit WrittenCopy(std::wstring path) noexcept : path_(std::move(path)) {}
  WrittenCopy(WrittenCopy&& other) noexcept : path_(std::exchange(other.path_, {})) {}
  WrittenCopy& operator=(WrittenCopy&& other) noexcept;
  WrittenCopy(const WrittenCopy&) = delete;
  WrittenCopy& operator=(const WrittenCopy&) = delete;
  ~WrittenCopy() { Delete(); }

  // The copy now belongs to an item in the list.
  void Keep() noexcept { path_.clear(); }
  const std::wstring& path() const noexcept { return path_; }

 private:
  void Delete() noexcept;
  std::wstring path_;
};

// One photo prepared for the list, not yet in it.
struct PreparedPhoto {
  enum class Outcome { kNotAPicture, kCopyNotWritten, kPhoto };
  Outcome outcome = Outcome::kNotAPicture;
  std::wstring path;                // as the user gave it
  std::unique_ptr<PhotoItem> item;  // kPhoto: fileSize, sourcePath and title filled in
  DWORD error = 0;                  // kCopyNotWritten: the system's reason, 0 when it has none
  WrittenCopy copy;                 // the working copy written for the item, if one was
};

// Reads and decodes `path` and makes its working copy (named by `fileNumber`, a draft number
// from DraftCopyNumber) and its item, by the rules of AddPhoto. Any thread.
// Its thumbnail is made for a square of `box` pixels (the list's box, read on the UI thread).
PreparedPhoto PreparePhoto(const std::wstring& path, int32_t limit, int32_t fileNumber, int32_t box = kThumbnailBox);

// The UI thread: appends the prepared photo as the new selection, unless the list already holds
// its path or it is no photo; a copy that was not written goes into `report` (when given). Its
// working copy takes the list's next number here, as the photo enters the list. True when added.
bool ApplyPreparedPhoto(PhotoList& photos, PreparedPhoto prepared, PreparationReport* report);

// Adds one photo: refuses a path already in the list and files that neither libjpeg-turbo nor
// GDI+ can decode. Every working copy stands upright (the EXIF or TIFF orientation applied,
// orientation 1 in the copy's metadata): a scaled copy when a side of the upright picture
// exceeds `limit` (compared as unsigned), a same-size copy for BMP, GIF, PNG and TIFF files and
// for a picture stored turned or mirrored (a JPEG without decoding where its edges allow). A
// JPEG stored upright within the limit is sent as the user's file, byte for byte. The new photo
// becomes the selection. True when added.
// A photo whose working copy cannot be written is not added; it goes into `report` (when given)
// for the user to be told. Takes a working-copy number from the list only for a copy of a photo
// that enters it.
bool AddPhoto(PhotoList& photos, const std::wstring& path, int32_t limit, PreparationReport* report = nullptr);

// Runs the open dialog; GetOpenFileNameW unless a test supplies its own.
using OpenFileDialogRunner = std::function<BOOL(OPENFILENAMEW&)>;
BOOL RunOpenFileDialog(OPENFILENAMEW& dialog);

// The filter of the open dialog, pairs of zero-terminated strings ending with an empty one.
std::wstring OpenDialogFilter();

// The files chosen in the open dialog, and the window that owned it.
struct ChosenFiles {
  std::vector<std::wstring> paths;
  HWND owner = nullptr;
};

// The multiple-selection open dialog (owner: `owner`, or the active window when none is given).
// None when the dialog fails or is cancelled.
std::optional<ChosenFiles> ChooseFilesWithDialog(HWND owner, const OpenFileDialogRunner& run = RunOpenFileDialog);

// The dropped paths, files and folders, in the drop's order; releases the drop. What they hold
// is PicturesInPaths's to find.
std::vector<std::wstring> DroppedPaths(HDROP drop);

// WM_DROPFILES, all on the calling thread: adds the dropped files with a picture extension (no "jpe" here) and releases
// the drop. True when a file with such an extension was taken (added or not).
// Photos that could not be prepared are told in one message box owned by `owner`'s window.
bool AddDroppedFiles(HDROP drop, PhotoList& photos, HWND owner);

}  // namespace fernwick
