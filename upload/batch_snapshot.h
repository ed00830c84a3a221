#pragma once
// A batch as the UI thread hands it to its worker: the photo-settings page's tags and
// visibility and, for each photo of the list, what sending it needs, copied once as the batch
// starts. The worker sends from this copy and reads neither the window nor the list again.
//
// What may change while a batch runs, and who sees to it: nothing that is copied here. From OK
// until the batch has ended, the window shows only the photo-settings page, whose OK and Back
// the session keeps disabled (UploadSession), then the progress page: no command that adds,
// deletes or turns a photo, or changes the tags, can be reached, and no add is running (Upload
// refuses while one does). The list changes only as the window applies the batch's own results
// on the UI thread: a turned photo's copy becomes its file, a photo sent leaves its slot (which
// stays empty, so the slots of the others hold), and at the end the slots close up.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fernwick {

class PhotoItem;
class PhotoList;

// Names a photo of the list. A result is applied only to this item, and only while it is in
// this slot; the worker never follows the pointer.
struct ListPlace {
  size_t slot = 0;
  const PhotoItem* item = nullptr;
};

struct BatchPhoto {
  ListPlace place;
  std::wstring sourcePath;  // the user's own file
  std::wstring sendPath;    // the file sent, unless it is turned first
  double angle = 0;         // the turn still to give it, degrees clockwise
  int32_t sendTurn = 0;     // how far sendPath is already turned from sourcePath
  std::wstring title;
  int32_t fileSize = 0;
};

struct BatchSnapshot {
  std::wstring tags;
  int visibilityIndex = 0;
  std::vector<BatchPhoto> photos;  // the list's, in its order
  // The working-copy number the first turned copy takes; each one after takes the next, as the
  // batch reaches it (the window moves the list's counter past them at the end).
  int32_t firstFileNumber = 0;
};

// On the UI thread: the batch of `photos` with the page's `tags` and `visibilityIndex`.
BatchSnapshot SnapshotOf(const PhotoList& photos, std::wstring tags, int visibilityIndex);

// The photo `place` names, or none when its slot no longer holds it.
PhotoItem* PhotoAt(const PhotoList& photos, const ListPlace& place);

}  // namespace fernwick
