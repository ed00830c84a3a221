#include "e2e/program_driver.h"

#include <gtest/gtest.h>

#include "accounts/settings_file.h"
#include "app/single_instance.h"
#include "base/user_folders.h"
#include "base/text_936.h"
#include "res/resource.h"
#include "support/window_helpers.h"

namespace fernwick::test {

namespace {
constexpr wchar_t kPromptCaption[] = L"提示";

struct FindState {
  DWORD processId;
  std::vector<HWND> found;
};

// Visible dialogs of the process other than the main window.
std::vector<HWND> DialogsOf(DWORD processId, HWND main) {
  FindState state{processId, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* state = reinterpret_cast<FindState*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == state->processId && ::IsWindowVisible(window) && test::ClassName(window) == "#32770") {
          state->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  std::erase(state.found, main);
  return state.found;
}

HWND FindDescendant(HWND parent, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        if (::GetDlgCtrlID(window) != search->id) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}
}  // namespace

bool SaveSignedInAccount(const std::string& user) {
  AccountState state;
  state.Load({WideFrom936(user), L"pw"}, {{WideFrom936(user), L"pw"}}, false);
  return !CreateProgramFolder(UserFolder::kRoaming).empty() && SaveSettingsTo(SettingsFilePath(), state);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs) {
  const ULONGLONG end = ::GetTickCount64() + limitMs;
  while (!condition()) {
    if (::GetTickCount64() > end) return false;
    ::Sleep(30);
  }
  return true;
}

ProgramDriver::ProgramDriver(const std::vector<std::wstring>& arguments) : run_(L"" FERNWICK_E2E_PROGRAM) {
  if (run_.Start(arguments)) main_ = run_.WaitForWindow(kMainWindowCaption);
}

ProgramDriver::~ProgramDriver() = default;  // the run ends a process still going

void ProgramDriver::Press(HWND button) {
  // A null window would post to this thread instead.
  EXPECT_NE(button, nullptr);
  if (button) ::PostMessageA(button, BM_CLICK, 0, 0);
}

HWND ProgramDriver::TopLevel(const wchar_t* title) const {
  for (HWND window : test::TopLevelWindowsOfProcess(run_.processId(), title)) {
    if (::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

bool ProgramDriver::AddThroughOpenDialog(const std::wstring& path) {
  Press(IDC_MAIN_ADD);
  HWND dialog = nullptr;
  if (!WaitUntil([&] {
        for (HWND window : DialogsOf(run_.processId(), main_)) {
          if (test::WindowText(window) != kPromptCaption) dialog = window;
        }
        return dialog != nullptr;
      })) {
    return false;
  }
  // The file name box: the explorer dialog's combo box (its edit inside) or the plain edit.
  HWND name = FindDescendant(dialog, 0x47c);
  if (name && test::ClassName(name) == "ComboBox") name = ::FindWindowExA(name, nullptr, "Edit", nullptr);
  if (!name) name = FindDescendant(dialog, 0x480);
  if (!name) return false;
  // Typed as UTF-16, so that a name the system code page cannot hold arrives whole.
  ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  Press(::GetDlgItem(dialog, IDOK));
  if (!WaitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); })) return false;
  // The handler that ran the dialog queues the photo and shows the adding line (Stop, IDC_MAIN_ADDING_STOP)
  // before it returns; a message sent to the window is answered only once that handler is done.
  // The photo is in the list when the line has gone again.
  DWORD_PTR ignored = 0;
  if (!::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) return false;
  return WaitUntil([&] { return !::IsWindowVisible(::GetDlgItem(main_, IDC_MAIN_ADDING_STOP)); });
}

HWND ProgramDriver::PageWith(int id) const {
  for (HWND child : test::Children(main_)) {
    if (test::ClassName(child) == "#32770" && ::GetDlgItem(child, id)) return child;
  }
  return nullptr;
}

HWND ProgramDriver::Prompt() const {
  for (HWND window : DialogsOf(run_.processId(), main_)) {
    if (test::WindowText(window) == kPromptCaption) return window;
  }
  return nullptr;
}

std::wstring ProgramDriver::PromptText(HWND prompt) {
  // The message box's text is its static control 0xFFFF.
  return test::WindowText(::GetDlgItem(prompt, 0xFFFF));
}

std::wstring ProgramDriver::AnswerPrompt(DWORD limitMs) {
  HWND prompt = nullptr;
  if (!WaitUntil([&] { return (prompt = Prompt()) != nullptr; }, limitMs)) return L"(no message)";
  const std::wstring text = PromptText(prompt);
  HWND button = ::GetDlgItem(prompt, IDOK);
  if (!button) button = ::GetDlgItem(prompt, IDYES);
  Press(button);
  WaitUntil([&] { return !::IsWindow(prompt); });
  return text;
}

std::wstring ProgramDriver::ProgressStatus() const {
  HWND page = ProgressPage();
  return page ? test::WindowText(::GetDlgItem(page, IDC_PROGRESS_STATUS)) : std::wstring();
}

DWORD ProgramDriver::Close() {
  ::PostMessageA(main_, WM_CLOSE, 0, 0);
  DWORD exitCode = 1234;
  // Photos left in the list bring the question first: yes.
  for (int round = 0; round < 400; ++round) {
    if (run_.WaitForExit(exitCode, 50)) return exitCode;
    if (HWND prompt = Prompt()) {
      HWND yes = ::GetDlgItem(prompt, IDYES);
      Press(yes ? yes : ::GetDlgItem(prompt, IDOK));
      WaitUntil([&] { return !::IsWindow(prompt); }, 5000);
    }
  }
  return exitCode;
}

}  // namespace fernwick::test
