#pragma once
// Lets an object that may go before its window ask for work in the background: answers it has
// wrapped run only while the guard lives and has not dropped them, so a dialog closed (or any
// asker destroyed) while the worker is still busy never sees its late answer. UI thread only,
// like the answers it wraps; workers merely carry the wrapped functions.
#include <functional>
#include <memory>
#include <utility>

namespace fernwick {

class AnswerGuard {
 public:
  AnswerGuard() = default;
  AnswerGuard(const AnswerGuard&) = delete;
  AnswerGuard& operator=(const AnswerGuard&) = delete;

  // `answered`, run only if this guard still lives and has not dropped it by then.
  template <class Answer>
  std::function<void(Answer)> Wrap(std::function<void(Answer)> answered) {
    if (!waiting_) waiting_ = std::make_shared<int>(0);
    ++*waiting_;
    return [waiting = std::weak_ptr<int>(waiting_), answered = std::move(answered)](Answer answer) {
      const std::shared_ptr<int> count = waiting.lock();
      if (!count) return;
      --*count;
      answered(std::move(answer));
    };
  }

  // Some wrapped answer has neither arrived nor been dropped.
  bool waiting() const noexcept { return waiting_ && *waiting_ > 0; }
  // Every answer wrapped so far will be ignored.
  void Drop() noexcept { waiting_.reset(); }

 private:
  // Shared with the wrapped answers, weakly: they find it empty once dropped or destroyed.
  std::shared_ptr<int> waiting_;
};

}  // namespace fernwick
