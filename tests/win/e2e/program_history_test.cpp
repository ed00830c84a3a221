// The real fernwick.exe sends two photos, then the same two are added again with a new one: the
// grid marks the two, Upload asks about them, and No sends only the new photo and leaves the
// two in the list. One run of the program, against the reference server.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "accounts/settings_file.h"
#include "build_config.h"
#include "e2e/program_driver.h"
#include "imaging/file_bytes.h"
#include "reference_server.h"
#include "res/main_window_ids.h"
#include "stored_photos.h"
#include "support/photo_test_pictures.h"
#include "support/test_files.h"
#include "support/window_helpers.h"
#include "upload/upload_history.h"

namespace fernwick {
namespace {

using test::ProgramDriver;
using test::WaitUntil;

constexpr wchar_t kShotDir[] = L"" FERNWICK_E2E_SCREENSHOT_DIR;

std::vector<std::string> Titles(const std::vector<test::StoredPhoto>& photos) {
  std::vector<std::string> titles;
  for (const auto& photo : photos) titles.push_back(photo.title);
  return titles;
}

// What the screen shows at the top of the disc that marks cell `index` (0, 1, 2 in the first
// row of a 96-DPI grid: cells 120 pixels apart, the first from (5, 10), the disc of 18 pixels 3
// in from the cell's top right corner), above its tick.
COLORREF MarkPixel(HWND view, int index) {
  POINT point{5 + 120 * index + 120 - 3 - 9, 10 + 3 + 4};
  ::ClientToScreen(view, &point);
  HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, point.x, point.y);
  ::ReleaseDC(nullptr, screen);
  return colour;
}

void UploadToTheEnd(ProgramDriver& program) {
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program.SettingsPage()); }));
  program.Press(ids::kOkButton);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program.DonePage()); }, 60000));
  program.Press(ids::kBackButton);
  ASSERT_TRUE(WaitUntil([&] { return !ProgramDriver::Shown(program.DonePage()); }));
}

TEST(ProgramHistory, PhotosSentBeforeAreMarkedAskedAboutAndKeptBackOnNo) {
  ASSERT_EQ(test::ReferenceServerPort(), build::kServerPort) << "no server on the program's port";
  ASSERT_EQ(test::Control("clear"), "cleared\n");
  const std::string user = "history" + std::to_string(::GetTickCount64());
  test::PutAccount(user, "pw", 52428800, "e2e");
  ASSERT_TRUE(test::SaveSignedInAccount(user));
  const std::wstring folder = test::FreshDirectory(L"e2e_history");
  std::vector<std::wstring> paths;
  for (int i = 1; i <= 3; ++i) {
    paths.push_back(folder + L"h" + std::to_wstring(i) + L".jpg");
    ASSERT_TRUE(test::WriteQuadrantPicture(paths.back(), 200 + 16 * i, 120 + 8 * i, "jpg"));
  }

  ProgramDriver program;
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitUntil([&] { return !test::WindowText(program.Item(ids::kQuotaLine)).empty(); }));
  // The first batch: nothing was sent before, so nothing is asked.
  ASSERT_TRUE(program.AddThroughOpenDialog(paths[0]));
  ASSERT_TRUE(program.AddThroughOpenDialog(paths[1]));
  program.Press(ids::kUploadButton);
  UploadToTheEnd(program);
  EXPECT_EQ(program.Prompt(), nullptr);
  ASSERT_EQ(Titles(test::StoredPhotos(user)), (std::vector<std::string>{"h1", "h2"}));

  // The same two again, and a new one: the two carry the mark, the new one none.
  for (const std::wstring& path : paths) ASSERT_TRUE(program.AddThroughOpenDialog(path));
  HWND view = ::FindWindowExW(program.main(), nullptr, L"FernwickThumbnailView", nullptr);
  ASSERT_TRUE(view);
  EXPECT_TRUE(WaitUntil([&] { return MarkPixel(view, 0) == RGB(0, 150, 70); }, 10000));
  EXPECT_EQ(MarkPixel(view, 1), RGB(0, 150, 70));
  EXPECT_EQ(MarkPixel(view, 2), ::GetSysColor(COLOR_WINDOW));
  ::CreateDirectoryW(kShotDir, nullptr);
  EXPECT_TRUE(test::SaveScreenshot(program.main(), std::wstring(kShotDir) + L"/history-marks.png"));

  // Upload asks once, before the page; No sends only the new photo and keeps the two.
  program.Press(ids::kUploadButton);
  HWND prompt = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (prompt = program.Prompt()) != nullptr; }));
  EXPECT_EQ(ProgramDriver::PromptText(prompt), L"有2张图片已经上传过。仍然上传这些图片吗？");
  EXPECT_FALSE(ProgramDriver::Shown(program.SettingsPage()));
  ProgramDriver::Press(::GetDlgItem(prompt, IDNO));
  UploadToTheEnd(program);
  EXPECT_EQ(Titles(test::StoredPhotos(user)), (std::vector<std::string>{"h1", "h2", "h3"}));
  EXPECT_TRUE(WaitUntil([&] { return MarkPixel(view, 1) == RGB(0, 150, 70); }, 10000)) << "the two stay, marked";

  EXPECT_EQ(program.Close(), 1u);
  // Three records, one for each photo the server took, after the heading.
  const auto history = ReadFileBytes(UploadHistoryPath());
  ASSERT_TRUE(history);
  EXPECT_EQ(std::count(history->begin(), history->end(), '\n'), 4);
  ::DeleteFileW(SettingsFilePath().c_str());
}

}  // namespace
}  // namespace fernwick
