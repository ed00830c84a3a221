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

std::string WindowsDirectory() {
  char directory[MAX_PATH] = {};
  ::GetWindowsDirectoryA(directory, MAX_PATH);
  return directory;
}

void WriteFile(const std::string& path, const char* text = "x") {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  ::CloseHandle(file);
}

void MakeReadOnly(const std::string& path) { ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }

// A scratch folder under C:\ that each test starts without.
class ScratchTree : public ::testing::Test {
 protected:
  const std::string root = "C:\\fernwick-scratch";
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  void Clean() {
    test::RemoveDirectoryLink(root + "\\tree\\link");
    test::RemoveDirectoryLink(root + "\\rootlink");
    for (const char* name : {"\\tree\\locked.txt", "\\tree\\sub\\locked.txt", "\\target\\keep.txt"}) {
      ::SetFileAttributesA((root + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    DeleteDirectoryTree(root);
  }
  void MakeTree() {
    ::CreateDirectoryA(root.c_str(), nullptr);
    ::CreateDirectoryA((root + "\\tree").c_str(), nullptr);
    ::CreateDirectoryA((root + "\\tree\\sub").c_str(), nullptr);
    ::CreateDirectoryA((root + "\\tree\\sub\\deeper").c_str(), nullptr);
    WriteFile(root + "\\tree\\1.jpg");
    WriteFile(root + "\\tree\\sub\\2.jpg");
    WriteFile(root + "\\tree\\sub\\deeper\\3.jpg");
    WriteFile(root + "\\tree\\.hidden-looking");
  }
};

TEST(WorkDirectoryPaths, LieDirectlyUnderTheLocalProgramFolderAndEndWithABackslash) {
  const std::string folder = ProgramFolder(UserFolder::kLocal);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(ScaledCopiesDirectory(), folder + "\\qvpicsendtmp\\");
  EXPECT_EQ(RotatedCopiesDirectory(), folder + "\\qvpicsendsnd\\");
  EXPECT_EQ(ScaledCopiesDirectory().find(WindowsDirectory()), std::string::npos);
}

TEST_F(ScratchTree, RemovesNestedFilesAndDirectories) {
  MakeTree();
  ASSERT_TRUE(FileExists(root + "\\tree\\sub\\deeper\\3.jpg"));
  DeleteDirectoryTree(root + "\\tree\\");
  EXPECT_FALSE(FileExists(root + "\\tree"));
  EXPECT_TRUE(FileExists(root)) << "only the given directory goes";
}

TEST_F(ScratchTree, AcceptsAPathWithoutTrailingBackslash) {
  MakeTree();
  DeleteDirectoryTree(root + "\\tree");
  EXPECT_FALSE(FileExists(root + "\\tree"));
}

TEST_F(ScratchTree, AMissingDirectoryIsNoFailure) {
  DeleteDirectoryTree(root + "\\never-made\\");
  EXPECT_FALSE(FileExists(root + "\\never-made"));
}

TEST_F(ScratchTree, AReadOnlyFileStaysWithTheDirectoriesHoldingIt) {
  MakeTree();
  WriteFile(root + "\\tree\\sub\\locked.txt");
  MakeReadOnly(root + "\\tree\\sub\\locked.txt");
  DeleteDirectoryTree(root + "\\tree\\");
  EXPECT_TRUE(FileExists(root + "\\tree\\sub\\locked.txt"));
  EXPECT_FALSE(FileExists(root + "\\tree\\sub\\2.jpg")) << "the rest of the walk goes on";
  EXPECT_FALSE(FileExists(root + "\\tree\\sub\\deeper"));
  EXPECT_FALSE(FileExists(root + "\\tree\\1.jpg"));
}

TEST_F(ScratchTree, ALinkInsideIsNotFollowed) {
  MakeTree();
  ::CreateDirectoryA((root + "\\target").c_str(), nullptr);
  WriteFile(root + "\\target\\keep.txt");
  ASSERT_TRUE(test::MakeDirectoryLink(root + "\\tree\\link", root + "\\target"));
  ASSERT_TRUE(FileExists(root + "\\tree\\link\\keep.txt")) << "the link leads to the target";

  DeleteDirectoryTree(root + "\\tree\\");

  EXPECT_TRUE(FileExists(root + "\\target\\keep.txt"));
  EXPECT_FALSE(FileExists(root + "\\tree\\1.jpg"));
  EXPECT_FALSE(FileExists(root + "\\tree\\sub"));
}

TEST_F(ScratchTree, ALinkToAnEmptyDirectoryLeavesThatDirectory) {
  MakeTree();
  ::CreateDirectoryA((root + "\\target").c_str(), nullptr);
  ASSERT_TRUE(test::MakeDirectoryLink(root + "\\tree\\link", root + "\\target"));
  DeleteDirectoryTree(root + "\\tree\\");
  EXPECT_TRUE(FileExists(root + "\\target"));
}

TEST_F(ScratchTree, AWorkDirectoryThatIsItselfALinkIsNotEmptied) {
  ::CreateDirectoryA(root.c_str(), nullptr);
  ::CreateDirectoryA((root + "\\target").c_str(), nullptr);
  WriteFile(root + "\\target\\keep.txt");
  ASSERT_TRUE(test::MakeDirectoryLink(root + "\\rootlink", root + "\\target"));
  DeleteDirectoryTree(root + "\\rootlink\\");
  EXPECT_TRUE(FileExists(root + "\\target\\keep.txt"));
}

// The work directories around the main window's life.
class WorkDirectoryLifetime : public ::testing::Test {
 protected:
  void SetUp() override { RemoveWorkDirectories(); }
  void TearDown() override {
    ::SetFileAttributesA((ScaledCopiesDirectory() + "locked.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveWorkDirectories();
  }
};

TEST_F(WorkDirectoryLifetime, CreatingTwiceReusesWhatIsThere) {
  CreateWorkDirectories();
  WriteFile(ScaledCopiesDirectory() + "1.jpg");
  CreateWorkDirectories();
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory() + "1.jpg"));
  EXPECT_TRUE(FileExists(RotatedCopiesDirectory()));
}

TEST_F(WorkDirectoryLifetime, ExistWhileTheMainWindowLivesAndGoWithIt) {
  test::TestMainDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory()));
  EXPECT_TRUE(FileExists(RotatedCopiesDirectory()));

  ::CreateDirectoryA((RotatedCopiesDirectory() + "by-hand").c_str(), nullptr);
  WriteFile(RotatedCopiesDirectory() + "by-hand\\note.txt");
  WriteFile(ScaledCopiesDirectory() + "3.jpg");

  ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(dialog.hwnd()));
  EXPECT_FALSE(FileExists(ScaledCopiesDirectory()));
  EXPECT_FALSE(FileExists(RotatedCopiesDirectory()));
}

TEST_F(WorkDirectoryLifetime, AReadOnlyFileSurvivesTheCloseAndTheNextStartReusesItsDirectory) {
  {
    test::TestMainDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    WriteFile(ScaledCopiesDirectory() + "locked.jpg");
    MakeReadOnly(ScaledCopiesDirectory() + "locked.jpg");
    WriteFile(ScaledCopiesDirectory() + "free.jpg");
    ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  }
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory() + "locked.jpg"));
  EXPECT_FALSE(FileExists(ScaledCopiesDirectory() + "free.jpg"));
  EXPECT_FALSE(FileExists(RotatedCopiesDirectory()));

  test::TestMainDialog next;
  ASSERT_TRUE(next.Create(nullptr));
  EXPECT_TRUE(FileExists(ScaledCopiesDirectory() + "locked.jpg"));
  EXPECT_TRUE(FileExists(RotatedCopiesDirectory()));
}

}  // namespace
}  // namespace fernwick
