#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "accounts/core/settings_text.h"
#include "accounts/credential_store.h"
#include "accounts/settings_file.h"
#include "base/program_state.h"
#include "base/handles.h"
#include "base/user_folders.h"
#include "base/text_936.h"
#include "support/account_test_support.h"
#include "support/test_files.h"
#include "support/test_main_dialog.h"

namespace fernwick {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// A scratch folder of its own per test, and the size limit put back afterwards.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedLimit_ = SizeLimit();
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = std::wstring(temp) + L"fernwick-settings-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::wstring(test.begin(), test.end());  // an ASCII name
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    path_ = folder_ + L"\\qvpicsendst.idx";
  }
  void TearDown() override {
    ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path_.c_str());
    ::RemoveDirectoryW((path_ + L".new").c_str());
    ::DeleteFileW((path_ + L".new").c_str());
    ::RemoveDirectoryW(folder_.c_str());
    SetSizeLimit(savedLimit_);
  }

  // Two entries of one name with different passwords, the current account being the second.
  AccountState Sample() const {
    AccountState state;
    state.Load({L"张三", L"另一个"}, {{L"张三", L"密码"}, {L"bob", L"b"}, {L"张三", L"另一个"}, {L"李四", L"x y"}},
               false);
    state.KeepBlogName("not stored");
    state.ShowQuota(30);  // not stored
    return state;
  }

  std::wstring folder_;
  std::wstring path_;
  int savedLimit_ = 1024;
};

TEST_F(SettingsFileTest, TheOldPathIsInTheWindowsDirectoryAndTheNewOneInTheRoamingFolder) {
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(OldSettingsFilePath(), std::wstring(windows) + L"\\qvpicsendst.idx");
  EXPECT_EQ(SettingsFilePath(), ProgramFolder(UserFolder::kRoaming) + L"\\qvpicsendst.idx");
}

TEST_F(SettingsFileTest, RoundTripWithDuplicatesAndDoubleByteNames) {
  const AccountState saved = Sample();
  SetSizeLimit(1280);
  ASSERT_TRUE(SaveSettingsTo(path_, saved));
  SetSizeLimit(1);
  AccountState loaded;
  LoadSettingsFrom(path_, loaded);
  EXPECT_EQ(loaded.currentUserName(), L"张三");
  EXPECT_EQ(loaded.currentPassword(), L"另一个");
  EXPECT_EQ(loaded.savedAccounts(), saved.savedAccounts());
  EXPECT_EQ(SizeLimit(), 1280);
  EXPECT_EQ(loaded.blogName(), "");
  EXPECT_EQ(loaded.quotaText(), L"");
}

// The passwords are in the credential store, one per entry, under names that tell duplicates
// apart; what no entry needs any more is deleted at the next save.
TEST_F(SettingsFileTest, EachPasswordIsInTheCredentialStoreUntilItsEntryGoes) {
  AccountState state = Sample();
  ASSERT_TRUE(SaveSettingsTo(path_, state));
  state.RemoveSaved({L"张三", L"密码"});  // the first 张三
  const AccountState fewer = state;
  const AccountState none;

  const struct {
    const wchar_t* target;
    std::optional<std::wstring> afterSample, afterFewer, afterNone;
  } expected[] = {
      {L"Fernwick:张三", L"密码", L"另一个", std::nullopt},
      {L"Fernwick#2:张三", L"另一个", std::nullopt, std::nullopt},
      {L"Fernwick (current):张三", L"另一个", std::nullopt, std::nullopt},
      {L"Fernwick:bob", L"b", L"b", std::nullopt},
      {L"Fernwick:李四", L"x y", L"x y", std::nullopt},
  };
  for (const auto& e : expected) EXPECT_EQ(test::StoredPassword(e.target), e.afterSample) << "sample";
  ASSERT_TRUE(SaveSettingsTo(path_, fewer));
  for (const auto& e : expected) EXPECT_EQ(test::StoredPassword(e.target), e.afterFewer) << "fewer";
  AccountState loaded;
  LoadSettingsFrom(path_, loaded);
  EXPECT_EQ(loaded.savedAccounts(), fewer.savedAccounts());
  EXPECT_EQ(loaded.currentPassword(), L"另一个");
  ASSERT_TRUE(SaveSettingsTo(path_, none));
  for (const auto& e : expected) EXPECT_EQ(test::StoredPassword(e.target), e.afterNone) << "none";
}

// Only a definite "not found" lets a saved password be replaced or deleted: after reads that
// failed (a locked store), saving with an account fewer and a password typed again changes none.
TEST_F(SettingsFileTest, ACredentialThatCouldNotBeReadIsNeitherReplacedNorDeleted) {
  ASSERT_TRUE(SaveSettingsTo(path_, Sample()));
  struct Unreadable : test::FailingCredentialStore {
    bool Write(const std::wstring& t, const std::wstring& u, const std::wstring& p) override {
      return windows.Write(t, u, p);
    }
    bool Delete(const std::wstring& target) override { return windows.Delete(target); }
    std::optional<std::vector<std::wstring>> Targets(const wchar_t* f) override { return windows.Targets(f); }
    CredentialStore& windows = ActiveCredentialStore();
  } unreadable;
  const ScopedCredentialStore scope(unreadable);
  AccountState loaded;
  LoadSettingsFrom(path_, loaded);
  loaded.AddSaved({L"bob", L"typed again"}, true);
  loaded.RemoveSaved({L"张三", L""});
  ASSERT_TRUE(SaveSettingsTo(path_, loaded));
  EXPECT_EQ(test::StoredPassword(L"Fernwick:张三"), L"密码");
  EXPECT_EQ(test::StoredPassword(L"Fernwick#2:张三"), L"另一个");
  EXPECT_EQ(test::StoredPassword(L"Fernwick (current):张三"), L"另一个");
  EXPECT_EQ(test::StoredPassword(L"Fernwick:bob"), L"b");
}

// Every user's saved accounts hang on these bytes: they were worked out once, apart from the
// program, from the cipher's seed, multiplier and addend (seed 0x6B8F21D4, multiplier 0x0019660D,
// addend 0x3C6EF35F, key bits 8 to 15). A change to the cipher or its key values fails here
// before it makes the files on users' disks unreadable. Files of earlier versions hold the
// passwords; the file written now holds none, and the next start takes them from the store.
TEST_F(SettingsFileTest, KnownBytesReadAndWriteAsKnownAccounts) {
  constexpr unsigned char kWithPasswords[] = {0xF4, 0xA2, 0x5B, 0x13, 0xB2, 0x2A, 0x15, 0x6F, 0x9F, 0xF1, 0xF1,
                                              0xAD, 0xD3, 0xC4, 0x38, 0xC3, 0xAD, 0x68, 0x3B, 0xEE, 0xAA, 0x91,
                                              0x7D, 0x01, 0xF5, 0x5D, 0x6C, 0x9D, 0x70, 0x05, 0xC1};
  constexpr unsigned char kWithout[] = {0xF4, 0xA2, 0x5B, 0x13, 0xB2, 0xEB, 0x89, 0xF4, 0x48, 0xF8, 0x4A,
                                        0xCF, 0x55, 0x13, 0x2D, 0xE1, 0x27, 0x56, 0x55, 0x28, 0xE4, 0x5F};
  const std::string withPasswords(reinterpret_cast<const char*>(kWithPasswords), sizeof kWithPasswords);
  const std::string without(reinterpret_cast<const char*>(kWithout), sizeof kWithout);
  AccountState known;
  known.Load({L"张三", L"密码"}, {{L"张三", L"密码"}, {L"bob", L"b"}}, false);

  // The earlier version's file first: its save fills the store the second row reads from.
  for (const std::string& stored : {withPasswords, without}) {
    const bool old = stored.size() == withPasswords.size();
    ASSERT_TRUE(WriteBytes(path_, stored));
    SetSizeLimit(1);
    AccountState loaded;
    LoadSettingsFrom(path_, loaded);
    EXPECT_EQ(loaded.currentUserName(), known.currentUserName()) << old;
    EXPECT_EQ(loaded.currentPassword(), known.currentPassword()) << old;
    EXPECT_EQ(loaded.savedAccounts(), known.savedAccounts()) << old;
    EXPECT_EQ(SizeLimit(), 1280) << old;

    ASSERT_TRUE(SaveSettingsTo(path_, loaded));
    EXPECT_EQ(ReadBytes(path_), without) << old;
    EXPECT_EQ(test::StoredPassword(L"Fernwick:张三"), L"密码") << old;
    EXPECT_EQ(test::StoredPassword(L"Fernwick:bob"), L"b") << old;
  }
}

TEST_F(SettingsFileTest, FileLengthIsTheTextLengthAndTheTextIsHidden) {
  const AccountState saved = Sample();
  SetSizeLimit(1600);
  ASSERT_TRUE(SaveSettingsTo(path_, saved));
  const std::string bytes = ReadBytes(path_);
  // The names only: the passwords are in the credential store.
  SettingsContent content{To936Lossy(saved.currentUserName()), "", 1600, {}};
  for (const AccountEntry& e : saved.savedAccounts())
    content.savedAccounts.push_back(StoredAccount{To936Lossy(e.userName), ""});
  const std::string text = BuildSettingsText(content);
  EXPECT_EQ(bytes.size(), text.size());
  EXPECT_EQ(DecipherSettingsText(bytes), text);
  EXPECT_EQ(bytes.find("bob"), std::string::npos);
}

TEST_F(SettingsFileTest, SignedOutDefaultIsSevenBytes) {
  SetSizeLimit(1024);
  ASSERT_TRUE(SaveSettingsTo(path_, AccountState{}));
  EXPECT_EQ(DecipherSettingsText(ReadBytes(path_)), std::string("\x01\x02"
                                                                "1024\x02"));
}

TEST_F(SettingsFileTest, MissingOrEmptyFileGivesDefaultsAndKeepsTheList) {
  for (bool empty : {false, true}) {
    if (empty) WriteBytes(path_, "");
    AccountState state;
    state.Load({L"stale", L"stale"}, {{L"kept", L"k"}}, false);
    SetSizeLimit(800);
    LoadSettingsFrom(path_, state);
    EXPECT_EQ(state.currentUserName(), L"") << empty;
    EXPECT_EQ(state.currentPassword(), L"") << empty;
    EXPECT_EQ(SizeLimit(), 1024) << empty;
    EXPECT_EQ(state.savedAccounts(), (std::vector<AccountEntry>{{L"kept", L"k"}})) << empty;
  }
}

TEST_F(SettingsFileTest, TruncatedFileKeepsTheWholeRecordsBeforeTheCut) {
  SetSizeLimit(800);
  ASSERT_TRUE(SaveSettingsTo(path_, Sample()));
  const std::string full = ReadBytes(path_);
  const std::string text = DecipherSettingsText(full);
  // Cut inside the third saved record: the cipher runs forward, so what is left still reads.
  const std::size_t cut = text.find("\x02", text.find("bob")) + 3;
  WriteBytes(path_, full.substr(0, cut));
  AccountState loaded;
  LoadSettingsFrom(path_, loaded);
  EXPECT_EQ(loaded.currentUserName(), L"张三");
  EXPECT_EQ(SizeLimit(), 800);
  EXPECT_EQ(loaded.savedAccounts(), (std::vector<AccountEntry>{{L"张三", L"密码"}, {L"bob", L"b"}}));
}

TEST_F(SettingsFileTest, DamagedFileLoadsWhateverItYields) {
  std::string noise;
  for (int i = 0; i < 3000; ++i) noise += static_cast<char>((i * 7919 + 13) % 256);
  WriteBytes(path_, noise);
  AccountState loaded;
  LoadSettingsFrom(path_, loaded);  // must simply not fail
  const SettingsContent expected = ParseSettingsText(DecipherSettingsText(noise));
  EXPECT_EQ(loaded.currentUserName(), WideFrom936(expected.currentUserName));
  ASSERT_EQ(loaded.savedAccounts().size(), expected.savedAccounts.size());
  for (std::size_t i = 0; i < expected.savedAccounts.size(); ++i) {
    EXPECT_EQ(loaded.savedAccounts()[i].userName, WideFrom936(expected.savedAccounts[i].userName));
  }
  EXPECT_EQ(SizeLimit(), expected.sizeLimit);
  EXPECT_NE(SizeLimit(), 0);
}

TEST_F(SettingsFileTest, ReadOnlyFileIsReadAndLeftAlone) {
  SetSizeLimit(1280);
  ASSERT_TRUE(SaveSettingsTo(path_, Sample()));
  const std::string before = ReadBytes(path_);
  ASSERT_TRUE(::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
  AccountState loaded;
  LoadSettingsFrom(path_, loaded);
  EXPECT_EQ(loaded.currentUserName(), L"张三");
  AccountState other;
  other.Switch({L"someone else", L""});
  EXPECT_FALSE(SaveSettingsTo(path_, other));
  EXPECT_EQ(ReadBytes(path_), before);
  EXPECT_EQ(::GetFileAttributesW((path_ + L".new").c_str()), INVALID_FILE_ATTRIBUTES) << "no leftover";
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileIntact) {
  ASSERT_TRUE(SaveSettingsTo(path_, Sample()));
  const std::string before = ReadBytes(path_);
  // The new content cannot be written beside the old file.
  ASSERT_TRUE(::CreateDirectoryW((path_ + L".new").c_str(), nullptr));
  EXPECT_FALSE(SaveSettingsTo(path_, AccountState{}));
  EXPECT_EQ(ReadBytes(path_), before);
  AccountState loaded;
  LoadSettingsFrom(path_, loaded);
  EXPECT_EQ(loaded.savedAccounts().size(), 4u);
}

TEST_F(SettingsFileTest, UnwritableFolderFailsSilently) {
  EXPECT_FALSE(SaveSettingsTo(folder_ + L"\\no such folder\\qvpicsendst.idx", Sample()));
  EXPECT_FALSE(SaveSettingsTo(L"", Sample()));
}

TEST_F(SettingsFileTest, TheProgramsOwnFileRoundTrips) {
  const std::wstring real = SettingsFilePath();
  const std::string backup = ReadBytes(real);
  SetSizeLimit(800);
  SaveSettings(Sample());
  AccountState loaded;
  SetSizeLimit(1);
  LoadSettings(loaded);
  EXPECT_EQ(loaded.savedAccounts(), Sample().savedAccounts());
  EXPECT_EQ(SizeLimit(), 800);
  if (backup == "<missing>") {
    ::DeleteFileW(real.c_str());
  } else {
    WriteBytes(real, backup);
  }
}

// The program's own files, removed however the test ends.
struct RemovedAtEnd {
  std::vector<std::wstring> paths;
  ~RemovedAtEnd() {
    for (const std::wstring& path : paths) ::DeleteFileW(path.c_str());
  }
};

TEST_F(SettingsFileTest, AnOldFileInTheWindowsDirectoryIsReadKeptAndReplacedByTheUsersFile) {
  const RemovedAtEnd cleanup{{SettingsFilePath(), OldSettingsFilePath()}};
  ::DeleteFileW(SettingsFilePath().c_str());
  SetSizeLimit(1280);
  ASSERT_TRUE(SaveSettingsTo(OldSettingsFilePath(), Sample()));
  const std::string old = ReadBytes(OldSettingsFilePath());

  SetSizeLimit(1);
  AccountState loaded;
  LoadSettings(loaded);
  EXPECT_EQ(loaded.currentUserName(), L"张三");
  EXPECT_EQ(loaded.savedAccounts(), Sample().savedAccounts());
  EXPECT_EQ(SizeLimit(), 1280);

  loaded.AddSaved({L"new", L"n"}, false);
  SaveSettings(loaded);
  EXPECT_EQ(ReadBytes(OldSettingsFilePath()), old) << "the old file is never changed";
  AccountState again;
  LoadSettings(again);
  EXPECT_EQ(again.savedAccounts().size(), 5u) << "the user's file is read from now on";
  AccountState fromUsersFile;
  LoadSettingsFrom(SettingsFilePath(), fromUsersFile);
  EXPECT_EQ(fromUsersFile.savedAccounts(), again.savedAccounts());
}

// A scanner or an indexer holds the file for a moment while it is saved: the save waits for it.
TEST_F(SettingsFileTest, AFileHeldForAMomentByAnotherProgramIsStillReplaced) {
  ASSERT_TRUE(SaveSettingsTo(path_, AccountState{}));
  UniqueFile held(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  std::thread holder([&] {
    ::Sleep(60);
    held.reset();
  });
  EXPECT_TRUE(SaveSettingsTo(path_, Sample()));
  holder.join();
}

TEST_F(SettingsFileTest, AFileHeldOpenWithoutSharingKeepsItsAccountsThroughTheExit) {
  const RemovedAtEnd cleanup{{SettingsFilePath()}};
  ASSERT_FALSE(CreateProgramFolder(UserFolder::kRoaming).empty());
  SetSizeLimit(800);
  ASSERT_TRUE(SaveSettingsTo(SettingsFilePath(), Sample()));
  const std::string before = ReadBytes(SettingsFilePath());
  {
    UniqueFile held(::CreateFileW(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    test::TestMainDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_TRUE(dialog.accounts().settingsUnreadable());
    EXPECT_TRUE(dialog.accounts().savedAccounts().empty());
    // The other program lets go before the user closes the window.
    held.reset();
    ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(dialog.hwnd()));
  }
  EXPECT_EQ(ReadBytes(SettingsFilePath()), before);
  AccountState loaded;
  LoadSettings(loaded);
  EXPECT_FALSE(loaded.settingsUnreadable());
  EXPECT_EQ(loaded.savedAccounts(), Sample().savedAccounts());
}

}  // namespace
}  // namespace fernwick
