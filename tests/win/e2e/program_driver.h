#pragma once
// Drives the real fernwick.exe from outside, as a person would: its buttons, the open dialog,
// the wizard pages, the message boxes; screenshots of its window come from support/screenshot.h.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/program_runner.h"
#include "support/screenshot.h"

namespace fernwick::test {

// Saves `user` (password "pw") as the settings file's one account, signed in at the next start.
bool SaveSignedInAccount(const std::string& user);

// Polls `condition` until it holds; false when it did not within `limitMs` (a failure bound).
bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs = 30000);

class ProgramDriver {
 public:
  // Starts the program (with `arguments`) and waits for its main window; check started().
  explicit ProgramDriver(const std::vector<std::wstring>& arguments = {});
  ~ProgramDriver();
  bool started() const noexcept { return main_ != nullptr; }
  HWND main() const noexcept { return main_; }
  DWORD processId() const noexcept { return run_.processId(); }

  HWND Item(int id) const { return ::GetDlgItem(main_, id); }
  // Presses a button the way a click does, without waiting for what it starts.
  static void Press(HWND button);
  void Press(int id) const { Press(Item(id)); }

  // Add, then the open dialog with the file's full path typed in and its OK pressed; true once
  // the dialog has closed again.
  bool AddThroughOpenDialog(const std::wstring& path);

  // The wizard pages: the child dialog of the main window holding control `id`.
  HWND PageWith(int id) const;
  HWND SettingsPage() const { return PageWith(IDC_PHOTO_PUBLIC); }
  HWND ProgressPage() const { return PageWith(IDC_PROGRESS_CANCEL); }
  HWND DonePage() const { return PageWith(IDC_DONE_VIEW_PHOTOS); }
  static bool Shown(HWND window) { return window && ::IsWindowVisible(window); }

  // A message box of the program ("提示"), or null.
  HWND Prompt() const;
  // Its text.
  static std::wstring PromptText(HWND prompt);
  // Waits for a message box, returns its text and presses its first button (OK or Yes).
  std::wstring AnswerPrompt(DWORD limitMs = 30000);
  // A visible top-level window of the program titled `title`, or null.
  HWND TopLevel(const wchar_t* title) const;

  // The status line of the progress page.
  std::wstring ProgressStatus() const;
  // Closes the main window (answering its question with yes) and waits for the process to
  // end; its exit code, or 1234.
  DWORD Close();

 private:
  test::ProgramRun run_;
  HWND main_ = nullptr;
};

}  // namespace fernwick::test
