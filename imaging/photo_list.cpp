#include "imaging/photo_list.h"

#include <algorithm>

#include "base/ui_thread.h"

namespace fernwick {

PhotoItem* PhotoList::SlotAt(std::size_t slot) const noexcept {
  return slot < photos_.size() ? photos_[slot].get() : nullptr;
}

void PhotoList::Notify(bool hasSelection) {
  if (observer_) observer_->SelectionChanged(hasSelection);
}

void PhotoList::AppendAndSelect(std::unique_ptr<PhotoItem> item) {
  AssertUiThread();
  if (!item) return;
  sourcePaths_.Insert(item->sourcePath);
  photos_.push_back(std::move(item));
  Select(photos_.back().get());
}

void PhotoList::Select(PhotoItem* item) {
  AssertUiThread();
  if (selection_) selection_->selected = false;
  selection_ = item;
  if (selection_) selection_->selected = true;
  Notify(selection_ != nullptr);
}

void PhotoList::ClearSelection() {
  AssertUiThread();
  if (!selection_) return;
  selection_->selected = false;
  selection_ = nullptr;
  Notify(false);
}

bool PhotoList::RemoveSelected() {
  AssertUiThread();
  if (!selection_) return false;
  PhotoItem* removed = selection_;
  selection_ = nullptr;
  sourcePaths_.Erase(removed->sourcePath);
  std::erase_if(photos_, [&](const auto& item) { return item.get() == removed; });
  Notify(false);
  return true;
}

void PhotoList::DetachUploaded(std::size_t slot) {
  AssertUiThread();
  if (slot >= photos_.size() || !photos_[slot]) return;
  if (photos_[slot].get() == selection_) ClearSelection();
  sourcePaths_.Erase(photos_[slot]->sourcePath);
  photos_[slot].reset();
  ++emptySlots_;
}

void PhotoList::RemoveEmptySlots() {
  AssertUiThread();
  std::erase_if(photos_, [](const auto& item) { return !item; });
  emptySlots_ = 0;
}

void PhotoList::SetThumbnailBox(int32_t box) noexcept {
  AssertUiThread();
  if (box == thumbnailBox_) return;
  thumbnailBox_ = box;
  for (const auto& item : photos_) {
    if (item) item->FitToBox(box);
  }
}

}  // namespace fernwick
