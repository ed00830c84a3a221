#pragma once
// A question asked off the UI thread (a server request, say): it is asked on a worker, the
// answer is handed back through the window's task channel and handled on the UI thread. The UI
// thread never waits, so the windows keep answering while the server is silent. An answer that
// finds the channel closed (its window gone) is dropped unrun; an asker that can go before its
// window wraps `answered` in an AnswerGuard (base/answer_guard.h).
#include <functional>
#include <memory>
#include <utility>

#include "base/background_work.h"
#include "base/ui_task.h"

namespace fernwick {

// UI thread. `ask` runs on a worker started by `spawn`, `answered` later on the UI thread with
// what it returned. A worker that cannot start answers Answer{} (for a server request: no
// connection) the same way;
// without a channel there is no way back, and `answered` gets Answer{} before this returns.
template <class Answer>
void AskInBackground(const Spawner& spawn, std::shared_ptr<UiTaskChannel> channel, std::function<Answer()> ask,
                     std::function<void(Answer)> answered) {
  if (!channel) {
    answered(Answer{});
    return;
  }
  auto reply = [channel, answered](Answer answer) {
    channel->Post([answered, answer = std::move(answer)] { answered(answer); });
  };
  if (spawn && spawn([ask = std::move(ask), reply] { reply(ask()); })) return;
  reply(Answer{});
}

}  // namespace fernwick
