#pragma once
// What an upload batch needs of the window that shows it. The window implements these; the
// batch calls them on the UI thread only (the worker through the window's task channel), so
// upload/ never sees the window's members, pages or photo list.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/ui_host.h"
#include "imaging/working_copies.h"
#include "upload/core/batch_journal.h"

namespace fernwick {

class PhotoItem;

// What the upload session itself asks of the window.
class SessionHost : public UiHost {
 public:
  // OK (IDC_MAIN_OK): disabled while a batch runs.
  virtual void EnableOk(bool enable) noexcept = 0;
  // Back (IDC_MAIN_BACK): disabled while the account is checked before a batch.
  virtual void EnableBack(bool enable) noexcept = 0;
  // Ends the window for good; the session calls it only when no worker uses the window.
  virtual void CloseWindow() noexcept = 0;

 protected:
  ~SessionHost() = default;
};

// What the worker needs of the photo-settings page at the start of a batch.
struct BatchSettings {
  std::string tags;
  std::string photoStatus;
  unsigned photoCount = 0;
  uint64_t photoBytes = 0;  // the batch's size, what the overall bar measures
  // The batch as its journal starts: the page's settings, then each photo of the list in
  // order with its original file and turn, all waiting.
  BatchJournal journal;
};

// A copy of what the worker needs of one photo; `item` only names it.
struct SlotPhoto {
  const PhotoItem* item = nullptr;
  int32_t fileSize = 0;
  double angle = 0;
  std::wstring sendPath;
  std::wstring title;
  int32_t fileNumber = 0;  // for the rotated copy; taken only when the photo is turned
};

// The worker's steps on the window. A step that names a photo by slot and item checks that the
// photo is still the one in its slot, so nothing is applied to a photo that has gone.
class BatchHost : public SessionHost {
 public:
  // Reads the photo-settings page (its transfer in the saving direction).
  virtual BatchSettings ReadSettings() = 0;
  // The first authentication's token, and every authentication's blog name.
  virtual void StoreToken(const std::string& authstr) = 0;
  virtual void StoreBlogName(const std::string& blogName) = 0;
  // The progress state, both bars empty: the upper one for the photo being sent, the overall
  // one for the batch, each in thousandths of its bytes.
  virtual void ShowProgress() = 0;
  // The photo in `slot`, or none past the end of the list. An empty slot gives a SlotPhoto
  // without item.
  virtual std::optional<SlotPhoto> PhotoInSlot(size_t slot) = 0;
  // Makes the written rotated copy the photo's; the path to send.
  virtual std::wstring ApplyRotation(size_t slot, const PhotoItem* item, const RotatedCopy& copy) = 0;
  virtual void ShowQuotaLine(int32_t limit, int32_t used) = 0;
  // The progress page for the photo being sent.
  virtual void ShowSending(size_t slot, const PhotoItem* item) = 0;
  // How much has gone, in thousandths: of the photo being sent and of the whole batch.
  virtual void ShowSentShare(int photoPermille, int batchPermille) = 0;
  // The photo was sent: with an id it leaves the list and the id is recorded; without one it
  // stays. Either way the page no longer shows it.
  virtual void PhotoSent(size_t slot, const PhotoItem* item, int32_t photoId) = 0;
  // The end of the batch: progress page hidden, list tidied, tags emptied, done state.
  virtual void ShowDone() = 0;

 protected:
  ~BatchHost() = default;
};

}  // namespace fernwick
