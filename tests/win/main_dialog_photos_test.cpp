// The main window with real photos in its view: the selection drives the toolbar, Delete
// acts on the view, Upload and the close question see the real photo list.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/program_state.h"
#include "base/prompt.h"
#include "imaging/add_photos.h"
#include "support/photo_test_pictures.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

class MainWithPhotos : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    ::ShowWindow(dialog.hwnd(), SW_SHOW);
    folder = test::FreshDirectory(L"fernwick-main-photos");
    for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) {
      ASSERT_TRUE(test::WriteQuadrantPicture(folder + name, 64, 48, "jpg"));
    }
  }
  void TearDown() override { test::RemoveDirectoryTree(folder); }
  void Add(const wchar_t* name) { ASSERT_TRUE(AddPhoto(dialog.photos(), folder + name, SizeLimit())); }
  void Command(int id) { test::Command(dialog.hwnd(), id); }
  bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(dialog.hwnd(), id)) != FALSE; }

  MainDialog dialog;
  std::wstring folder;
};

TEST_F(MainWithPhotos, ASelectedPhotoEnablesDeleteAndBothRotateButtons) {
  EXPECT_FALSE(Enabled(ids::kDeleteButton));
  Add(L"a.jpg");
  EXPECT_TRUE(Enabled(ids::kDeleteButton));
  EXPECT_TRUE(Enabled(ids::kRotateLeftButton));
  EXPECT_TRUE(Enabled(ids::kRotateRightButton));
}

TEST_F(MainWithPhotos, DeleteRemovesTheSelectedPhotoAndDisablesTheButtonsAgain) {
  Add(L"a.jpg");
  Add(L"b.jpg");
  ASSERT_EQ(dialog.photos().Count(), 2u);
  Command(ids::kDeleteButton);
  EXPECT_EQ(dialog.photos().Count(), 1u);
  EXPECT_FALSE(Enabled(ids::kDeleteButton));
}

TEST_F(MainWithPhotos, UploadGoesToThePhotoSettingsPage) {
  Add(L"a.jpg");
  ScopedPromptAnswerer noPrompt([](const PromptRequest&) -> int {
    ADD_FAILURE() << "no notice with photos in the list";
    return IDOK;
  });
  Command(ids::kUploadButton);
  EXPECT_TRUE(::IsWindowVisible(dialog.settingsPage().hwnd()));
  EXPECT_FALSE(::IsWindowVisible(dialog.view().hwnd()));
}

TEST_F(MainWithPhotos, ClosingWithPhotosAsks) {
  Add(L"a.jpg");
  int asked = 0;
  ScopedPromptAnswerer answer([&](const PromptRequest& request) {
    asked += request.text == L"你确定要退出程序吗？";
    return IDNO;
  });
  ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(::IsWindow(dialog.hwnd()));
}

}  // namespace
}  // namespace fernwick
