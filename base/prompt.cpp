#include "base/prompt.h"

#include "base/log.h"

#include <mutex>
#include <utility>

namespace fernwick {

namespace {
// The test seam: process-wide by nature (a test installs it around the code it drives).
std::mutex& AnswererLock() {
  static std::mutex lock;
  return lock;
}
PromptAnswerer& Answerer() {
  static PromptAnswerer answerer;
  return answerer;
}
}  // namespace

int ShowPrompt(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  PromptAnswerer answerer;
  {
    std::lock_guard guard(AnswererLock());
    answerer = Answerer();
  }
  if (answerer) return answerer(PromptRequest{owner, text ? text : L"", caption ? caption : L"", type});
  const int answer = ::MessageBoxW(owner, text, caption, type);
  // No box came up: the caller goes on as if it had been closed without an answer.
  if (answer == 0) LogLastError("prompt: the message box cannot be shown");
  return answer;
}

ScopedPromptAnswerer::ScopedPromptAnswerer(PromptAnswerer answerer) {
  std::lock_guard guard(AnswererLock());
  previous_ = std::exchange(Answerer(), std::move(answerer));
}

ScopedPromptAnswerer::~ScopedPromptAnswerer() {
  std::lock_guard guard(AnswererLock());
  Answerer() = std::move(previous_);
}

}  // namespace fernwick
