#include "account_test_support.h"

#include <wincred.h>

#include "controls/control_text.h"
#include "res/resource.h"

namespace fernwick::test {

namespace {
// Runs the tasks workers hand to the main window, like the real one.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (UiTaskChannel::Run(message, wParam, lParam)) return 0;
  return ::DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

FakeAccountHost::FakeAccountHost() {
  window_.reset(CreateTestWindow("FernwickFakeAccountHost", &HostProc, WS_POPUP, nullptr, 0, {0, 0, 400, 300}, "host"));
  tasks_ = UiTaskChannel::Open(window_.get());
  ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 16, window_.get(),
                    reinterpret_cast<HMENU>(IDC_MAIN_QUOTA), ::GetModuleHandleA(nullptr), nullptr);
  ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 40, 300, 16, window_.get(),
                    reinterpret_cast<HMENU>(IDC_MAIN_CURRENT_USER), ::GetModuleHandleA(nullptr), nullptr);
}

FakeAccountHost::~FakeAccountHost() { CloseTasks(); }

void FakeAccountHost::RefreshAccountDisplay() {
  ++refreshes;
  ::SetDlgItemTextW(window_.get(), IDC_MAIN_QUOTA, state.quotaText().c_str());
  ::SetDlgItemTextW(window_.get(), IDC_MAIN_CURRENT_USER, state.currentUserText().c_str());
}

std::wstring FakeAccountHost::QuotaLine() const { return WindowText(::GetDlgItem(window_.get(), IDC_MAIN_QUOTA)); }
std::wstring FakeAccountHost::UserLine() const {
  return WindowText(::GetDlgItem(window_.get(), IDC_MAIN_CURRENT_USER));
}

SignInFunction ScriptedSignIn::function() {
  return [this](const std::wstring& user, const std::wstring& password, std::string& authstr, int& percent,
                std::string& blogName) {
    calls.push_back(AccountEntry{user, password});
    if (next_ >= replies_.size()) return kResultNoExchange;
    const ScriptedReply& reply = replies_[next_++];
    if (reply.result == kResultOk) {
      authstr = "token";
      percent = reply.percent;
      blogName = reply.blogName;
    }
    return reply.result;
  };
}

PromptRecorder::PromptRecorder(std::vector<int> answers)
    : answers_(std::move(answers)), answerer_([this](const PromptRequest& request) {
        seen.push_back(SeenPrompt{request.owner, request.text, request.caption, request.type});
        return next_ < answers_.size() ? answers_[next_++] : IDOK;
      }) {}

std::vector<std::wstring> PromptRecorder::Texts() const {
  std::vector<std::wstring> texts;
  for (const SeenPrompt& p : seen) texts.push_back(p.text);
  return texts;
}

LaunchRecorder::LaunchRecorder(bool succeed)
    : succeed_(succeed), launcher_([this](const BrowserLaunchRequest& request) {
        seen.push_back(request);
        return succeed_;
      }) {}

std::optional<std::wstring> StoredPassword(const std::wstring& target) {
  PCREDENTIALW credential = nullptr;
  if (!::CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &credential)) return std::nullopt;
  std::wstring password(reinterpret_cast<const wchar_t*>(credential->CredentialBlob),
                        credential->CredentialBlobSize / sizeof(wchar_t));
  ::CredFree(credential);
  return password;
}

}  // namespace fernwick::test
