#include "base/work_directories.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/user_folders.h"
#include "res/main_window_ids.h"
#include "support/file_links.h"
#include "support/test_main_dialog.h"

namespace fernwick {
namespace {

using test::FileExists;

std::wstring WindowsDirectory() {
  wchar_t directory[MAX_PATH] = {};
  ::GetWindowsDirectoryW(directory, MAX_PATH);
  return directory;
}

void WriteFile(const std::wstring& path, const char* text = "x") {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  ::CloseHandle(file);
}

void MakeReadOnly(const std::wstring& path) { ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY); }

// A scratch folder under C:\ that each test starts without.
class ScratchTree : public ::testing::Test {
 protected:
  const std::wstring root = L"C:\\fernwick-scratch";
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  void Clean() {
    test::RemoveDirectoryLink(root + L"\\tree\\link");
    test::RemoveDirectoryLink(root + L"\\rootlink");
    for (const wchar_t* name : {L"\\tree\\locked.txt", L"\\tree\\sub\\locked.txt", L"\\target\\keep.txt"}) {
      ::SetFileAttributesW((root + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    DeleteDirectoryTree(root);
  }
  void MakeTree() {
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW((root + L"\\tree").c_str(), nullptr);
    ::CreateDirectoryW((root + L"\\tree\\sub").c_str(), nullptr);
    ::CreateDirectoryW((root + L"\\tree\\sub\\deeper").c_str(), nullptr);
    WriteFile(root + L"\\tree\\1.jpg");
    WriteFile(root + L"\\tree\\sub\\2.jpg");
    WriteFile(root + L"\\tree\\sub\\deeper\\3.jpg");
    WriteFile(root + L"\\tree\\.hidden-looking");
  }
};

TEST(WorkDirectoryPaths, LieDirectlyUnderTheLocalProgramFolderAndEndWithABackslash) {
  const std::wstring folder = ProgramFolder(UserFolder::kLocal);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(ScaledCopiesDirectory(), folder + L"\\qvpicsendtmp\\");
  EXPECT_EQ(RotatedCopiesDirectory(), folder + L"\\qvpicsendsnd\\");
  EXPECT_EQ(ScaledCopiesDirectory().find(WindowsDirectory()), std::wstring::npos);
}

TEST_F(ScratchTree, RemovesNestedFilesAndDirectories) {
  MakeTree();
  ASSERT_TRUE(FileExists(root + L"\\tree\\sub\\deeper\\3.jpg"));
  DeleteDirectoryTree(root + L"\\tree\\");
  EXPECT_FALSE(FileExists(root + L"\\tree"));
  EXPECT_TRUE(FileExists(root)) << "only the given directory goes";
}

TEST_F(ScratchTree, AcceptsAPathWithoutTrailingBackslash) {
  MakeTree();
  DeleteDirectoryTree(root + L"\\tree");
  EXPECT_FALSE(FileExists(root + L"\\tree"));
}

TEST_F(ScratchTree, AMissingDirectoryIsNoFailure) {
  DeleteDirectoryTree(root + L"\\never-made\\");
  EXPECT_FALSE(FileExists(root + L"\\never-made"));
}

TEST_F(ScratchTree, AReadOnlyFileStaysWithTheDirectoriesHoldingIt) {
  MakeTree();
  WriteFile(root + L"\\tree\\sub\\locked.txt");
  MakeReadOnly(root + L"\\tree\\sub\\locked.txt");
  DeleteDirectoryTree(root + L"\\tree\\");
  EXPECT_TRUE(FileExists(root + L"\\tree\\sub\\locked.txt"));
  EXPECT_FALSE(FileExists(root + L"\\tree\\sub\\2.jpg")) << "the rest of the walk goes on";
  EXPECT_FALSE(FileExists(root + L"\\tree\\sub\\deeper"));
  EXPECT_FALSE(FileExists(root + L"\\tree\\1.jpg"));
}

TEST_F(ScratchTree, ALinkInsideIsNotFollowed) {
  MakeTree();
  ::CreateDirectoryW((root + L"\\target").c_str(), nullptr);
  WriteFile(root + L"\\target\\keep.txt");
  ASSERT_TRUE(test::MakeDirectoryLink(root + L"\\tree\\link", root + L"\\target"));
  ASSERT_TRUE(FileExists(root + L"\\tree\\link\\keep.txt")) << "the link leads to the target";

  DeleteDirectoryTree(root + L"\\tree\\");

  EXPECT_TRUE(FileExists(root + L"\\target\\keep.txt"));
  EXPECT_FALSE(FileExists(root + L"\\tree\\1.jpg"));
  EXPECT_FALSE(FileExists(root + L"\\tree\\sub"));
}

TEST_F(ScratchTree, ALinkToAnEmptyDirectoryLeavesThatDirectory) {
  MakeTree();
  ::CreateDirectoryW((root + L"\\target").c_str(), nullptr);
  ASSERT_TRUE(test::MakeDirectoryLink(root + L"\\tree\\link", root + L"\\target"));
  DeleteDirectoryTree(root + L"\\tree\\");
  EXPECT_TRUE(FileExists(root + L"\\target"));
}

TEST_F(ScratchTree, AWorkDirectoryThatIsItselfALinkIsNotEmptied) {
  ::CreateDirectoryW(root.c_str(), nullptr);
  ::CreateDirectoryW((root + L"\\target").c_str(), nullptr);
  WriteFile(root + L"\\target\\keep.txt");
  ASSERT_TRUE(test::MakeDirectoryLink(root + L"\\rootlink", root + L"\\target"));
  DeleteDirectoryTree(root + L"\\rootlink\\");
  EXPECT_TRUE(FileExists(root + L"\\target\\keep.txt"));
}

// The work directories around the main window's life.
class WorkDirectoryLifetime : public ::testing::Test {
 protected:
  void SetUp() override { RemoveWorkDirectories(); }
  void TearDown() override {
    ::SetFileAttributesW((ScaledCopiesDirectory() + L"locked.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveWorkDirectories();
  }
};

TEST_F(WorkDirectoryLifetime, CreatingTwiceReusesWhatIsThere) {
  CreateWorkDirectories();
  WriteFile(ScaledCopiesDirectory() + L"1.jpg");
  CreateWorkDirectories();
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory() + L"1.jpg"));
  EXPECT_TRUE(FileExists(RotatedCopiesDirectory()));
}

TEST_F(WorkDirectoryLifetime, ExistWhileTheMainWindowLivesAndGoWithIt) {
  test::TestMainDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory()));
  EXPECT_TRUE(FileExists(RotatedCopiesDirectory()));

  ::CreateDirectoryW((RotatedCopiesDirectory() + L"by-hand").c_str(), nullptr);
  WriteFile(RotatedCopiesDirectory() + L"by-hand\\note.txt");
  WriteFile(ScaledCopiesDirectory() + L"3.jpg");

  ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(dialog.hwnd()));
  EXPECT_FALSE(FileExists(ScaledCopiesDirectory()));
  EXPECT_FALSE(FileExists(RotatedCopiesDirectory()));
}

TEST_F(WorkDirectoryLifetime, AReadOnlyFileSurvivesTheCloseAndTheNextStartReusesItsDirectory) {
  {
    test::TestMainDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    WriteFile(ScaledCopiesDirectory() + L"locked.jpg");
    MakeReadOnly(ScaledCopiesDirectory() + L"locked.jpg");
    WriteFile(ScaledCopiesDirectory() + L"free.jpg");
    ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  }
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory() + L"locked.jpg"));
  EXPECT_FALSE(FileExists(ScaledCopiesDirectory() + L"free.jpg"));
  EXPECT_FALSE(FileExists(RotatedCopiesDirectory()));

  test::TestMainDialog next;
  ASSERT_TRUE(next.Create(nullptr));
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory() + L"locked.jpg"));
  EXPECT_TRUE(FileExists(RotatedCopiesDirectory()));
}

}  // namespace
}  // namespace fernwick
