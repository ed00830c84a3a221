#pragma once
// The upload worker's changes to the main window and its pages, carried out on the UI thread:
// the worker hands each step to the window (CallOnUi) and never touches a window, a page
// member or the photo list itself. Each step checks that the photo it names is still the one
// in its slot, so nothing is applied to a photo that has gone.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "imaging/working_copies.h"

namespace fernwick {

class MainDialog;
class PhotoItem;

// What the worker needs of the photo-settings page at the start of a batch.
struct BatchSettings {
  std::string tags;
  std::string photoStatus;
  unsigned photoCount = 0;
};

// A copy of what the worker needs of one photo; `item` only names it.
struct SlotPhoto {
  const PhotoItem* item = nullptr;
  int32_t fileSize = 0;
  double angle = 0;
  std::string sendPath;
  std::string title;
  int32_t fileNumber = 0;  // for the rotated copy; taken only when the photo is turned
};

// How a batch ended, for its closing steps.
struct BatchOutcome {
  int result = -2;         // the last request's result code
  int notAccepted = 0;     // photos sent that the server did not take
  bool doneShown = false;  // the end-of-batch steps ran
};

class BatchWindow {
 public:
  explicit BatchWindow(MainDialog& dialog) noexcept : dialog_(dialog) {}

  // Reads the photo-settings page (its transfer in the saving direction).
  BatchSettings ReadSettings();
  // The first authentication's token and every authentication's blog name.
  void StoreToken(const std::string& authstr);
  void StoreBlogName(const std::string& blogName);
  // Hides the photo-settings page, OK and Back; shows the progress page ready for `photoCount`.
  void ShowProgressState(unsigned photoCount);
  // The photo in `slot`, or none past the end of the list. An empty slot gives a SlotPhoto
  // without item.
  std::optional<SlotPhoto> PhotoInSlot(size_t slot);
  // "你的空间已经不够,请购买空间。"
  void TellQuotaExceeded();
  // Makes the written rotated copy the photo's; the path to send.
  std::string ApplyRotation(size_t slot, const PhotoItem* item, const RotatedCopy& copy);
  void ShowQuotaLine(int32_t limit, int32_t used);
  // The progress page for the photo being sent, `number` of the batch.
  void ShowSending(size_t slot, const PhotoItem* item, int number);
  // The photo was sent: with an id it leaves the list and the id is recorded; without one it
  // stays. Either way the page no longer shows it.
  void PhotoSent(size_t slot, const PhotoItem* item, int32_t photoId);
  // The end of the batch: progress page hidden, list tidied, tags emptied, done page shown.
  void ShowDonePage();
  // The closing messages, uploadInProgress cleared, OK enabled; a close the user asked for
  // during the batch happens now.
  void Finish(const BatchOutcome& outcome);

 private:
  bool StillInSlot(size_t slot, const PhotoItem* item) const;
  static void ShowClosingMessages(HWND main, const BatchOutcome& outcome);

  MainDialog& dialog_;
};

}  // namespace fernwick
