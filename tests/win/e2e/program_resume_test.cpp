// The real fernwick.exe killed in the middle of a batch and started again: the photos it had
// not sent come back into the list with their turn and the batch's settings, and a second batch
// sends each of them once, while the one already sent is not sent again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/settings_file.h"
#include "base/handles.h"
#include "build_config.h"
#include "e2e/launch_recorder.h"
#include "e2e/program_driver.h"
#include "imaging/picture_io.h"
#include "reference_server.h"
#include "res/main_window_ids.h"
#include "res/resource.h"
#include "stored_photos.h"
#include "support/photo_test_pictures.h"
#include "support/test_files.h"
#include "support/window_helpers.h"
#include "upload/batch_journal_file.h"
#include "upload/core/resume_question.h"

namespace fernwick {
namespace {

using test::ProgramDriver;
using test::WaitUntil;

constexpr wchar_t kShotDir[] = L"" FERNWICK_E2E_SCREENSHOT_DIR;

std::unique_ptr<ProgramDriver> StartSignedIn() {
  auto program = std::make_unique<ProgramDriver>();
  EXPECT_TRUE(program->started());
  // The start-up sign-in has finished when the quota line shows.
  EXPECT_TRUE(WaitUntil([&] { return !test::WindowText(program->Item(ids::kQuotaLine)).empty(); }));
  return program;
}

void Shot(HWND window, const wchar_t* name) {
  ::CreateDirectoryW(kShotDir, nullptr);
  EXPECT_TRUE(test::SaveScreenshot(window, std::wstring(kShotDir) + L"/" + name + L".png"));
}

std::vector<std::string> Titles(const std::vector<test::StoredPhoto>& photos) {
  std::vector<std::string> titles;
  for (const auto& photo : photos) titles.push_back(photo.title);
  return titles;
}

TEST(ProgramResume, ABatchKilledMidwayIsPutBackAtTheNextStartAndEachPhotoIsStoredOnce) {
  ASSERT_EQ(test::ReferenceServerPort(), build::kServerPort) << "no server on the program's port";
  ASSERT_EQ(test::Control("clear"), "cleared\n");
  const std::string user = "resume" + std::to_string(::GetTickCount64());
  test::PutAccount(user, "pw", 52428800, "e2e");
  ASSERT_TRUE(test::SaveSignedInAccount(user));
  RemoveBatchJournal();
  const test::LaunchScope launches;
  const std::wstring folder = test::FreshDirectory(L"e2e_resume");

  auto program = StartSignedIn();
  for (int i = 1; i <= 3; ++i) {
    const std::wstring path = folder + L"p" + std::to_wstring(i) + L".jpg";
    ASSERT_TRUE(test::WriteQuadrantPicture(path, 200 + 16 * i, 120 + 8 * i, "jpg"));
    ASSERT_TRUE(program->AddThroughOpenDialog(path));
  }
  program->Press(ids::kRotateRightButton);  // p3, the photo just added, a quarter clockwise
  program->Press(ids::kUploadButton);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->SettingsPage()); }));
  HWND page = program->SettingsPage();
  ::SendMessageW(::GetDlgItem(page, IDC_PHOTO_TAGS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"海边 旅行"));
  ProgramDriver::Press(::GetDlgItem(page, IDC_PHOTO_FRIENDS_ONLY));
  ASSERT_TRUE(
      WaitUntil([&] { return ::SendDlgItemMessageA(page, IDC_PHOTO_FRIENDS_ONLY, BM_GETCHECK, 0, 0) == BST_CHECKED; }));

  // p1 goes slowly enough to be seen; the server then stops reading p2 and stores nothing.
  test::Control("fault?kind=delay&path=/upload/toolupload.aspx&value=1500&count=1");
  program->Press(ids::kOkButton);
  ASSERT_TRUE(WaitUntil([&] { return program->ProgressStatus() == L"发送图片'p1'"; }));
  // The server stores p1 before its late answer: only then is the next upload p2's.
  ASSERT_TRUE(WaitUntil([&] { return test::StoredPhotos(user).size() == 1; }));
  test::Control("fault?kind=stall&path=/upload/toolupload.aspx&value=120000&count=1");
  ASSERT_TRUE(WaitUntil([&] { return program->ProgressStatus() == L"发送图片'p2'"; }));
  ::Sleep(500);
  {
    UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, program->processId()));
    ASSERT_TRUE(process);
    ASSERT_TRUE(::TerminateProcess(process.get(), 9));
    ASSERT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
  }
  program.reset();
  test::Control("clear");
  ASSERT_EQ(Titles(test::StoredPhotos(user)), (std::vector<std::string>{"p1"}));

  program = StartSignedIn();
  HWND prompt = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (prompt = program->Prompt()) != nullptr; }));
  // p3 was not sent; p2 was on its way when the process died, and may be on the site.
  EXPECT_EQ(ProgramDriver::PromptText(prompt), ResumeQuestionText({1, 1, {}, 1, 1}));
  EXPECT_TRUE(WaitUntil([&] { return !::GetUpdateRect(prompt, nullptr, FALSE); }));
  Shot(prompt, L"resume-question");
  program->AnswerPrompt();
  // Yes, p2 too: the user has looked at the site and not found it.
  EXPECT_EQ(program->AnswerPrompt(), ResumeUnsureQuestionText(1));
  // The photos are added in the background: they are in once the adding line has gone.
  DWORD_PTR ignored = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(program->main(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(program->Item(ids::kAddingStop)); }));
  EXPECT_FALSE(test::FileExists(BatchJournalPath())) << "the answer given, the journal goes";
  Shot(program->main(), L"resume-list");

  // The batch's settings are on the page again; the second batch sends exactly p2 and p3.
  program->Press(ids::kUploadButton);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->SettingsPage()); }));
  page = program->SettingsPage();
  // An edit keeps its text to itself: asked, not read from another process's window.
  wchar_t tags[64] = {};
  ::SendMessageW(::GetDlgItem(page, IDC_PHOTO_TAGS), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(tags));
  EXPECT_STREQ(tags, L"海边 旅行");
  EXPECT_EQ(::SendDlgItemMessageA(page, IDC_PHOTO_FRIENDS_ONLY, BM_GETCHECK, 0, 0), BST_CHECKED);
  program->Press(ids::kOkButton);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->DonePage()); }, 60000));
  EXPECT_EQ(program->Prompt(), nullptr);
  const auto stored = test::StoredPhotos(user);
  ASSERT_EQ(Titles(stored), (std::vector<std::string>{"p1", "p2", "p3"}));
  EXPECT_EQ(stored[2].tags, "海边 旅行");
  EXPECT_EQ(stored[2].status, "2");
  // p3 went with its turn: its sides swapped, its top-left quarter from the bottom left.
  test::WriteBytes(folder + L"stored.jpg", test::StoredBytes(stored[2].id));
  GpBitmapPtr picture = DecodePicture(folder + L"stored.jpg");
  ASSERT_TRUE(picture);
  EXPECT_EQ(PictureWidth(picture.get()), 144u);
  EXPECT_EQ(PictureHeight(picture.get()), 248u);
  EXPECT_EQ(test::QuadrantsOf(picture.get()), (std::vector<int>{2, 0, 3, 1}));
  // View photos shows the whole batch: p1, sent before the crash, with the two sent after it.
  ProgramDriver::Press(::GetDlgItem(program->DonePage(), IDC_DONE_VIEW_PHOTOS));
  EXPECT_EQ(test::LaunchScope::WaitForLaunch(), "\"" + test::BatchAddress(stored) + "\"\n");
  EXPECT_EQ(program->Close(), 1u);
  ::DeleteFileW(SettingsFilePath().c_str());
}

}  // namespace
}  // namespace fernwick
