#include "account_test_support.h"

#include "accounts/dialog_text.h"

namespace fernwick::test {

FakeAccountHost::FakeAccountHost() {
  window_.reset(::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr));
  ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 300, 16, window_.get(),
                    reinterpret_cast<HMENU>(1009), ::GetModuleHandleA(nullptr), nullptr);
  ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 40, 300, 16, window_.get(),
                    reinterpret_cast<HMENU>(1010), ::GetModuleHandleA(nullptr), nullptr);
}

void FakeAccountHost::refreshAccountDisplay() {
  ++refreshes;
  ::SetDlgItemTextA(window_.get(), 1009, state.quotaText.c_str());
  ::SetDlgItemTextA(window_.get(), 1010, state.currentUserText.c_str());
}

std::string FakeAccountHost::QuotaLine() const { return WindowText(::GetDlgItem(window_.get(), 1009)); }
std::string FakeAccountHost::UserLine() const { return WindowText(::GetDlgItem(window_.get(), 1010)); }

SignInFunction ScriptedSignIn::function() {
  return [this](const std::string& user, const std::string& password, std::string& authstr, int& percent,
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

std::vector<std::string> PromptRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const SeenPrompt& p : seen) texts.push_back(p.text);
  return texts;
}

LaunchRecorder::LaunchRecorder(bool succeed)
    : succeed_(succeed), launcher_([this](const BrowserLaunchRequest& request) {
        seen.push_back(request);
        return succeed_;
      }) {}

}  // namespace fernwick::test
