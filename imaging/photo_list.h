#pragma once
// The photo list: the photos of the upload batch in the order they were added, the one
// selected photo, and the counter that numbers the working copies. The thumbnail view shows
// it; adding photos, the Delete command and the upload's steps change it, all on the UI thread
// (each change checks it: base/ui_thread.h).
//
// A slot is empty only in the middle of an upload batch: the photo whose request was sent
// leaves its slot at once, and the slots close up when the batch ends.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/file_name_set.h"
#include "base/ui_thread.h"
#include "imaging/photo_item.h"

namespace fernwick {

// Told whenever the selection changes.
class PhotoListObserver {
 public:
  virtual void SelectionChanged(bool hasSelection) = 0;

 protected:
  ~PhotoListObserver() = default;
};

class PhotoList {
 public:
  using Slots = std::vector<std::unique_ptr<PhotoItem>>;

  PhotoList() = default;
  PhotoList(const PhotoList&) = delete;
  PhotoList& operator=(const PhotoList&) = delete;

  void SetObserver(PhotoListObserver* observer) noexcept { observer_ = observer; }

  // The number of slots, empty ones included.
  unsigned Count() const noexcept { return static_cast<unsigned>(photos_.size()); }
  const Slots& slots() const noexcept { return photos_; }
  // Whether an upload has emptied a slot that was not closed up since.
  bool HasEmptySlots() const noexcept { return emptySlots_ != 0; }
  // The item in a slot, or none for an empty slot or a slot past the end.
  PhotoItem* SlotAt(std::size_t slot) const noexcept;
  PhotoItem* selection() const noexcept { return selection_; }
  // Compared as Windows compares file names (C:\A.JPG is c:\a.jpg), in constant time: adding
  // asks for every photo, and a list of thousands must not be walked each time.
  bool ContainsSourcePath(const std::wstring& path) const { return sourcePaths_.Contains(path); }

  // Appends the item at the end and makes it the selection.
  void AppendAndSelect(std::unique_ptr<PhotoItem> item);
  // Makes `item` (one of the list's, or none) the selection; the observer hears of it even
  // when the selection stays what it was.
  void Select(PhotoItem* item);
  // Clears the selection; without one nothing happens and the observer hears nothing.
  void ClearSelection();
  // Deletes the selected item (its working copy stays on disk). False without a selection.
  bool RemoveSelected();
  // For the upload: empties the slot after its request was sent and deletes the item.
  void DetachUploaded(std::size_t slot);
  // Closes up the slots emptied during a batch.
  void RemoveEmptySlots();

  // The square, in pixels, that the grid shows each thumbnail in: photos added are prepared
  // for it. A new box refits the photos already there; their thumbnails, made for the old
  // box, are then drawn resized to the new one.
  int32_t thumbnailBox() const noexcept { return thumbnailBox_; }
  void SetThumbnailBox(int32_t box) noexcept;

  // Working-copy numbers: the current value, and the counter grows by 1. It never goes back
  // during a run, so no copy overwrites another. Photos added in the background each take one
  // when they are queued, in the order chosen, whether a copy is then made or not.
  int32_t TakeFileNumber() noexcept {
    AssertUiThread();
    return nextFileNumber_++;
  }
  int32_t NextFileNumber() const noexcept { return nextFileNumber_; }

 private:
  void Notify(bool hasSelection);

  Slots photos_;
  // The source paths of the items in the slots, kept in step with every change of a slot.
  FileNameSet sourcePaths_;
  PhotoItem* selection_ = nullptr;
  std::size_t emptySlots_ = 0;
  int32_t nextFileNumber_ = 1001;
  int32_t thumbnailBox_ = kThumbnailBox;
  PhotoListObserver* observer_ = nullptr;
};

}  // namespace fernwick
