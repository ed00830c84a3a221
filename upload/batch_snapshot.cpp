#include "upload/batch_snapshot.h"

#include <utility>

#include "base/ui_thread.h"
#include "imaging/photo_list.h"

namespace fernwick {

BatchSnapshot SnapshotOf(const PhotoList& photos, std::wstring tags, int visibilityIndex) {
  AssertUiThread();
  BatchSnapshot batch{std::move(tags), visibilityIndex, {}, photos.NextFileNumber()};
  for (size_t slot = 0; slot < photos.Count(); ++slot) {
    const PhotoItem* item = photos.SlotAt(slot);
    if (!item) continue;
    batch.photos.push_back(
        {{slot, item}, item->sourcePath, item->sendPath, item->angle, item->sendTurn, item->title, item->fileSize});
  }
  return batch;
}

PhotoItem* PhotoAt(const PhotoList& photos, const ListPlace& place) {
  AssertUiThread();
  PhotoItem* item = photos.SlotAt(place.slot);
  return item && item == place.item ? item : nullptr;
}

}  // namespace fernwick
