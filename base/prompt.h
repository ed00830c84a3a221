#pragma once
// Every message box and question of the program goes through ShowPrompt, so that tests can
// observe what would be shown and answer it without a person.
#include <windows.h>

#include <functional>
#include <string>

namespace fernwick {

struct PromptRequest {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT type = MB_OK;
};

using PromptAnswerer = std::function<int(const PromptRequest&)>;

// MessageBoxW, unless an answerer is installed: then the answerer's value is returned.
int ShowPrompt(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
inline int ShowPrompt(HWND owner, const std::wstring& text, const wchar_t* caption, UINT type) {
  return ShowPrompt(owner, text.c_str(), caption, type);
}

// Installs an answerer for its lifetime (tests only); the previous one comes back after.
class ScopedPromptAnswerer {
 public:
  explicit ScopedPromptAnswerer(PromptAnswerer answerer);
  ~ScopedPromptAnswerer();
  ScopedPromptAnswerer(const ScopedPromptAnswerer&) = delete;
  ScopedPromptAnswerer& operator=(const ScopedPromptAnswerer&) = delete;

 private:
  PromptAnswerer previous_;
};

}  // namespace fernwick
