#include "imaging/picture_walk.h"

#include <utility>

#include "base/background_request.h"
#include "base/ui_thread.h"
#include "imaging/picture_paths.h"

namespace fernwick {

PictureWalk::PictureWalk(Spawner spawn) : spawn_(std::move(spawn)) {}

void PictureWalk::Attach(std::shared_ptr<UiTaskChannel> channel, Found found) {
  channel_ = std::move(channel);
  found_ = std::move(found);
}

void PictureWalk::Walk(std::vector<std::wstring> paths) {
  AssertUiThread();
  if (paths.empty()) return;
  waiting_.push_back(std::move(paths));
  if (!walking_) Next();
}

void PictureWalk::Stop() {
  AssertUiThread();
  answers_.Drop();
  waiting_.clear();
  walking_ = false;
}

// A walk that cannot start (no thread, no channel) hands on nothing, as a drop of missing
// paths would: the next group still gets its turn.
void PictureWalk::Next() {
  if (waiting_.empty()) {
    walking_ = false;
    return;
  }
  walking_ = true;
  std::function<std::vector<std::wstring>()> walk = [paths = std::move(waiting_.front())] {
    return PicturesInPaths(paths);
  };
  waiting_.pop_front();
  AskInBackground<std::vector<std::wstring>>(
      spawn_, channel_, std::move(walk),
      answers_.Wrap<std::vector<std::wstring>>([this](std::vector<std::wstring> pictures) {
        Next();
        if (found_) found_(std::move(pictures));
      }));
}

}  // namespace fernwick
