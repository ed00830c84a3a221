#pragma once
// Walks the paths a drop or the shell hands over (PicturesInPaths) away from the UI thread, so
// that a folder of thousands of photos, or one on a slow network share, never freezes the
// window. Groups are walked one at a time, and their pictures handed on in the order the
// groups came. UI thread only, but for the walks themselves.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/answer_guard.h"
#include "base/background_work.h"
#include "base/ui_task.h"

namespace fernwick {

class PictureWalk {
 public:
  using Found = std::function<void(std::vector<std::wstring> pictures)>;

  explicit PictureWalk(Spawner spawn = DetachedThread("walking handed folders"));

  // Before the first Walk: each group's pictures (perhaps none) come back through `channel` to
  // `found`, once the next group's walk has started: busy() then says whether more will come.
  void Attach(std::shared_ptr<UiTaskChannel> channel, Found found);
  // Queues `paths` behind the groups still being walked.
  void Walk(std::vector<std::wstring> paths);
  // The groups not handed on yet are dropped; a walk under way finishes unheard.
  void Stop();
  bool busy() const noexcept { return walking_; }

 private:
  void Next();

  Spawner spawn_;
  std::shared_ptr<UiTaskChannel> channel_;
  Found found_;
  std::deque<std::vector<std::wstring>> waiting_;
  bool walking_ = false;
  AnswerGuard answers_;
};

}  // namespace fernwick
