// The real fernwick.exe under Wine, driven from outside as a person would, against the
// reference server on the build's own port: photos added through the open dialog, the wizard,
// the progress and done pages, View photos and Back, and what the server stored.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "accounts/core/settings_text.h"
#include "accounts/saved_passwords.h"
#include "accounts/settings_file.h"
#include "base/user_folders.h"
#include "base/work_directories.h"
#include "build_config.h"
#include "base/handles.h"
#include "base/text_936.h"
#include "e2e/launch_recorder.h"
#include "e2e/program_driver.h"
#include "imaging/core/jpeg_segments.h"
#include "imaging/file_bytes.h"
#include "imaging/picture_io.h"
#include "reference_server.h"
#include "res/main_window_ids.h"
#include "service/service_client.h"
#include "stored_photos.h"
#include "support/account_test_support.h"
#include "support/exif_photos.h"
#include "support/photo_test_pictures.h"
#include "support/window_helpers.h"
#include "upload/core/retry_rules.h"

namespace fernwick {
namespace {

using test::Control;
using test::ProgramDriver;
using test::StoredBytes;
using test::StoredPhoto;
using test::StoredPhotos;
using test::WaitUntil;

using ids::kBackButton;
using ids::kOkButton;
using ids::kQuotaLine;
using ids::kRotateLeftButton;
using ids::kRotateRightButton;
using ids::kUploadButton;
constexpr wchar_t kShotDir[] = L"" FERNWICK_E2E_SCREENSHOT_DIR;

// The only file in a work directory (the program names its copies by number).
std::wstring OnlyFileIn(const std::wstring& directory) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data{};
  UniqueFind find(::FindFirstFileW((directory + L"*.jpg").c_str(), &data));
  if (find) {
    do names.push_back(data.cFileName);
    while (::FindNextFileW(find.get(), &data));
  }
  return names.size() == 1 ? directory + names.front() : std::wstring();
}

class ProgramUpload : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    launches_ = std::make_unique<test::LaunchScope>();
    ::CreateDirectoryW(kShotDir, nullptr);
  }
  static void TearDownTestSuite() { launches_.reset(); }

  void SetUp() override {
    ASSERT_EQ(test::ReferenceServerPort(), build::kServerPort) << "no server on the program's port";
    ASSERT_EQ(Control("clear"), "cleared\n");
    static int serial = 0;
    user = "e2e" + std::to_string(::GetTickCount64()) + "_" + std::to_string(++serial);
    PutAccount(50L * 1024 * 1024, "pw");
    ASSERT_TRUE(test::SaveSignedInAccount(user));
    test::LaunchScope::Forget();
    folder = test::FreshDirectory(L"e2e_photos");
    program = std::make_unique<ProgramDriver>();
    ASSERT_TRUE(program->started());
    // The start-up sign-in has finished when the quota line shows.
    ASSERT_TRUE(WaitUntil([&] { return !test::WindowText(program->Item(kQuotaLine)).empty(); }));
  }
  void TearDown() override {
    Control("clear");
    if (program && program->started() && ::IsWindow(program->main())) program->Close();
    program.reset();
    ::DeleteFileW(SettingsFilePath().c_str());
  }

  void PutAccount(long quota, const char* password) { test::PutAccount(user, password, quota, "e2e"); }

  std::wstring Picture(const std::wstring& name, int width, int height, const char* format = "jpg") {
    const std::wstring extension(format, format + std::strlen(format));  // ASCII
    const std::wstring path = folder + name + L"." + extension;
    EXPECT_TRUE(test::WriteQuadrantPicture(path, width, height, format));
    return path;
  }
  std::vector<std::wstring> AddPictures(int count) {
    std::vector<std::wstring> paths;
    for (int i = 1; i <= count; ++i) {
      paths.push_back(Picture(L"p" + std::to_wstring(i), 160 + 16 * i, 120 + 8 * i));
      EXPECT_TRUE(program->AddThroughOpenDialog(paths.back())) << paths.back();
    }
    return paths;
  }

  // Upload, the page's settings, OK; then waits for the done page.
  void UploadWith(const wchar_t* tags, int radio) {
    program->Press(kUploadButton);
    ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->SettingsPage()); }))
        << "message: " << ProgramDriver::PromptText(program->Prompt());
    HWND page = program->SettingsPage();
    ::SendMessageW(::GetDlgItem(page, IDC_PHOTO_TAGS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tags));
    ProgramDriver::Press(::GetDlgItem(page, radio));
    ASSERT_TRUE(WaitUntil([&] { return ::SendDlgItemMessageA(page, radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    program->Press(kOkButton);
  }
  bool WaitForDonePage() {
    return WaitUntil([&] { return ProgramDriver::Shown(program->DonePage()); }, 60000);
  }
  // One set of screenshots per code page the run has.
  void Shot(HWND window, const wchar_t* name) {
    const std::wstring path = std::wstring(kShotDir) + L"/" + name + L"-cp" + std::to_wstring(::GetACP()) + L".png";
    EXPECT_TRUE(test::SaveScreenshot(window, path)) << path;
  }
  // The http handler of the prefix points at the recorder while these runs last.
  static inline std::unique_ptr<test::LaunchScope> launches_;
  std::unique_ptr<ProgramDriver> program;
  std::string user;
  std::wstring folder;
};

// Read back through the W functions from the program's own message box: the same text on any
// system code page.
TEST_F(ProgramUpload, UploadWithoutPhotosShowsTheNoticeInChinese) {
  program->Press(kUploadButton);
  HWND prompt = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (prompt = program->Prompt()) != nullptr; }));
  EXPECT_EQ(ProgramDriver::PromptText(prompt), L"你尚未加入图片");
  // Shown is not yet painted: the shot waits until nothing of the box is left to paint.
  EXPECT_TRUE(WaitUntil([&] {
    HWND text = ::GetDlgItem(prompt, 0xFFFF);
    return ::IsWindowVisible(prompt) && !::GetUpdateRect(prompt, nullptr, FALSE) && text &&
           !::GetUpdateRect(text, nullptr, FALSE);
  }));
  Shot(prompt, L"no_photos_notice");
  EXPECT_EQ(program->AnswerPrompt(), L"你尚未加入图片");
  EXPECT_FALSE(ProgramDriver::Shown(program->SettingsPage())) << "nothing to upload: the page stays";
}

TEST_F(ProgramUpload, ABatchOfFourPhotosFromAddToViewPhotosAndBack) {
  const std::wstring portrait = Picture(L"portrait", 300, 400);
  const std::wstring landscape = Picture(L"landscape", 400, 300);
  const std::wstring drawing = Picture(L"drawing", 320, 240, "png");
  const std::wstring turned = Picture(L"turned", 360, 240);
  for (const auto& path : {portrait, landscape, drawing, turned}) {
    ASSERT_TRUE(program->AddThroughOpenDialog(path)) << path;
  }
  // The photo just added is the selection: turn it a quarter clockwise.
  program->Press(kRotateRightButton);

  program->Press(kUploadButton);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->SettingsPage()); }));
  HWND page = program->SettingsPage();
  EXPECT_EQ(::SendDlgItemMessageA(page, IDC_PHOTO_PUBLIC, BM_GETCHECK, 0, 0), BST_CHECKED);  // at first
  ::SendMessageW(::GetDlgItem(page, IDC_PHOTO_TAGS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"海边 旅行"));
  ProgramDriver::Press(::GetDlgItem(page, IDC_PHOTO_FRIENDS_ONLY));
  ASSERT_TRUE(
      WaitUntil([&] { return ::SendDlgItemMessageA(page, IDC_PHOTO_FRIENDS_ONLY, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  Shot(program->main(), L"photo-settings");

  // Each upload answers a little later, so that the progress page can be seen.
  Control("fault?kind=delay&path=/upload/toolupload.aspx&value=700&count=-1");
  program->Press(kOkButton);
  ASSERT_TRUE(WaitUntil([&] { return program->ProgressStatus() == L"发送图片'landscape'"; }));
  EXPECT_TRUE(ProgramDriver::Shown(program->ProgressPage()));
  EXPECT_FALSE(ProgramDriver::Shown(program->SettingsPage()));
  EXPECT_FALSE(ProgramDriver::Shown(program->Item(kOkButton)));
  EXPECT_FALSE(ProgramDriver::Shown(program->Item(kBackButton)));
  Shot(program->main(), L"progress");
  ASSERT_TRUE(WaitForDonePage());
  Control("clear");
  Shot(program->main(), L"done");
  EXPECT_EQ(program->Prompt(), nullptr);

  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 4u);
  const char* titles[] = {"portrait", "landscape", "drawing", "turned"};
  long total = 0;
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(stored[i].title, titles[i]);
    EXPECT_EQ(stored[i].tags, "海边 旅行");
    EXPECT_EQ(stored[i].status, "2");
    total += stored[i].size;
  }
  // What was sent: the user's JPEGs as they are, the PNG's JPEG copy, the turned copy.
  EXPECT_TRUE(test::SameBytes(StoredBytes(stored[0].id), test::ReadBytes(portrait)));
  EXPECT_TRUE(test::SameBytes(StoredBytes(stored[1].id), test::ReadBytes(landscape)));
  const std::wstring converted = OnlyFileIn(ScaledCopiesDirectory());
  ASSERT_FALSE(converted.empty());
  EXPECT_TRUE(test::SameBytes(StoredBytes(stored[2].id), test::ReadBytes(converted)));
  const std::wstring rotated = OnlyFileIn(RotatedCopiesDirectory());
  ASSERT_FALSE(rotated.empty());
  const std::string turnedBytes = StoredBytes(stored[3].id);
  EXPECT_TRUE(test::SameBytes(turnedBytes, test::ReadBytes(rotated)));
  test::WriteBytes(folder + L"stored.jpg", turnedBytes);
  GpBitmapPtr picture = DecodePicture(folder + L"stored.jpg");
  ASSERT_TRUE(picture);
  EXPECT_EQ(PictureWidth(picture.get()), 240u);
  EXPECT_EQ(PictureHeight(picture.get()), 360u);
  EXPECT_EQ(test::QuadrantsOf(picture.get()), (std::vector<int>{2, 0, 3, 1}));
  EXPECT_EQ(Control("account?user=" + user), "quota=52428800 used=" + std::to_string(total) + " photos=4");

  ProgramDriver::Press(::GetDlgItem(program->DonePage(), IDC_DONE_VIEW_PHOTOS));
  EXPECT_EQ(test::LaunchScope::WaitForLaunch(), "\"" + test::BatchAddress(stored) + "\"\n");
  // View photos goes on with Back: the photo list is there again.
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->Item(kUploadButton)); }));
  EXPECT_FALSE(ProgramDriver::Shown(program->DonePage()));
  Shot(program->main(), L"back");
  EXPECT_EQ(program->Close(), 1u);
}

// Names that the system's code page may not hold (Chinese and é under 1252; Korean and an
// emoji under any code page but UTF-8) are added through the open dialog and uploaded. The
// expected titles are narrow literals, compiled to code page 936 bytes; what code page 936
// cannot hold goes as "?".
TEST_F(ProgramUpload, PhotosNamedInAnyLanguageAreAddedAndUploaded) {
  const std::wstring beach = Picture(L"海边 café", 300, 200);
  const std::wstring korean = Picture(L"한국 😀", 200, 300, "png");
  for (const auto& path : {beach, korean}) ASSERT_TRUE(program->AddThroughOpenDialog(path)) << path;
  Shot(program->main(), L"names");
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitForDonePage());
  EXPECT_EQ(program->Prompt(), nullptr);
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].title, "海边 café");
  EXPECT_EQ(stored[1].title, "?? ?");
  EXPECT_TRUE(test::SameBytes(StoredBytes(stored[0].id), test::ReadBytes(beach)));
  test::WriteBytes(folder + L"stored.jpg", StoredBytes(stored[1].id));
  GpBitmapPtr picture = DecodePicture(folder + L"stored.jpg");
  EXPECT_EQ(test::QuadrantsOf(picture.get()), (std::vector<int>{0, 1, 2, 3})) << "the PNG's JPEG copy";
}

// A phone's HEIC (stored on its side, irot turning it upright) and a WebP from a chat, whose
// names any case of their extensions may end with, are sent as upright JPEG copies with the
// photo's EXIF and colour profile. The grid's screenshot shows both upright.
TEST_F(ProgramUpload, AHeicAndAWebpAreSentAsUprightJpegCopies) {
  wchar_t pictures[MAX_PATH] = {};
  ASSERT_GT(::GetEnvironmentVariableW(L"FERNWICK_HEIF_WEBP_PICTURES", pictures, MAX_PATH), 0u);
  const std::wstring heic = folder + L"iphone.HEIC";
  const std::wstring webp = folder + L"chat.webp";
  ASSERT_TRUE(::CopyFileW((std::wstring(pictures) + L"\\heic-irot.heic").c_str(), heic.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW((std::wstring(pictures) + L"\\webp-lossy.webp").c_str(), webp.c_str(), FALSE));
  for (const auto& path : {heic, webp}) ASSERT_TRUE(program->AddThroughOpenDialog(path)) << path;
  Shot(program->main(), L"heic_webp_grid");
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitForDonePage());
  EXPECT_EQ(program->Prompt(), nullptr);
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].title, "iphone");
  EXPECT_EQ(stored[1].title, "chat");
  for (const auto& photo : stored) {
    const std::string bytes = StoredBytes(photo.id);
    const std::span<const uint8_t> jpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    test::WriteBytes(folder + L"stored.jpg", bytes);
    GpBitmapPtr picture = DecodePicture(folder + L"stored.jpg");
    ASSERT_TRUE(picture) << photo.title;
    EXPECT_EQ(PictureWidth(picture.get()), 320u);
    EXPECT_EQ(PictureHeight(picture.get()), 240u);
    EXPECT_EQ(test::QuadrantsOf(picture.get()), (std::vector<int>{0, 1, 2, 3})) << photo.title;
    test::ExpectUprightMetadata(jpeg, 320, 240);
    const std::vector<JpegSegment> segments = ReadJpegSegments(jpeg);
    EXPECT_TRUE(std::any_of(segments.begin(), segments.end(), [](const JpegSegment& s) { return s.marker == 0xE2; }))
        << photo.title << ": the colour profile";
  }
}

TEST_F(ProgramUpload, RotateLeftSendsThePhotoTurnedCounterClockwise) {
  ASSERT_TRUE(program->AddThroughOpenDialog(Picture(L"left", 360, 240)));
  program->Press(kRotateLeftButton);
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitForDonePage());
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 1u);
  test::WriteBytes(folder + L"stored.jpg", StoredBytes(stored[0].id));
  GpBitmapPtr picture = DecodePicture(folder + L"stored.jpg");
  ASSERT_TRUE(picture);
  EXPECT_EQ(PictureWidth(picture.get()), 240u);
  EXPECT_EQ(PictureHeight(picture.get()), 360u);
  // Counter-clockwise: the top-right green comes to the top left.
  EXPECT_EQ(test::QuadrantsOf(picture.get()), (std::vector<int>{1, 3, 0, 2}));
}

// A phone photo stored on its side (orientation 6) is uploaded upright, with its date taken.
TEST_F(ProgramUpload, APhonePhotoOnItsSideIsStoredUprightWithItsDateTaken) {
  const std::wstring path = folder + L"phone.jpg";
  ASSERT_TRUE(WriteFileBytes(path, test::PhotoJpeg(test::Scene(320, 240), 6)));
  ASSERT_TRUE(program->AddThroughOpenDialog(path));
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitForDonePage());
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 1u);
  const std::string bytes = StoredBytes(stored[0].id);
  const std::vector<uint8_t> jpeg(bytes.begin(), bytes.end());
  const std::optional<PixelBuffer> picture = DecodeJpeg(jpeg);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 320u);
  EXPECT_EQ(picture->height, 240u);
  EXPECT_TRUE(test::IsRed(picture->At(1, 1))) << "the top left as taken";
  test::ExpectUprightMetadata(jpeg, 320, 240);
}

// The settings file is written as the window goes, however it goes: it is removed while the
// program runs and must be there again, with the account, after the close.
void ExpectSettingsWrittenFor(const std::string& user) {
  AccountState written;
  LoadSettingsFrom(SettingsFilePath(), written);
  EXPECT_EQ(written.currentUserName(), WideFrom936(user));
  EXPECT_EQ(written.savedAccounts(), (std::vector<AccountEntry>{{WideFrom936(user), L"pw"}}));
}

TEST_F(ProgramUpload, ANormalCloseWritesTheSettingsFile) {
  ASSERT_TRUE(::DeleteFileW(SettingsFilePath().c_str()));
  EXPECT_EQ(program->Close(), 1u);
  ASSERT_TRUE(test::FileExists(SettingsFilePath()));
  ExpectSettingsWrittenFor(user);
}

// The program's log of this test program's runs (both files of its turn-over).
std::string ProgramLog() {
  // The tests' own folder, or the profile's where the program logs without one.
  std::wstring folder = FolderFromEnvironment(L"FERNWICK_LOG_DIR");
  if (folder.empty()) folder = ProgramFolder(UserFolder::kLocal);
  if (folder.empty()) return std::string();
  std::string log;
  for (const wchar_t* name : {L"\\fernwick.log.1", L"\\fernwick.log"}) {
    const std::string part = test::ReadBytes(folder + std::wstring(name));
    if (part != "<missing>") log += part;
  }
  return log;
}

// A file of an earlier version holds the password: the program signs in with it, and at the
// close the file keeps the names only while the password moves into the credential store,
// from which the next start signs in. No log line of either run holds the password.
TEST_F(ProgramUpload, AnEarlierVersionsPasswordMovesIntoTheCredentialStore) {
  EXPECT_EQ(program->Close(), 1u);
  const std::string password = "Hush-e2e-9";
  PutAccount(50L * 1024 * 1024, password.c_str());
  ForgetOtherPasswords(AccountState{});
  const SettingsContent earlier{user, password, 1024, {{user, password}}};
  ASSERT_TRUE(test::WriteBytes(SettingsFilePath(), EncipherSettingsText(BuildSettingsText(earlier))));

  for (int run = 0; run < 2; ++run) {
    program = std::make_unique<ProgramDriver>();
    ASSERT_TRUE(program->started());
    ASSERT_TRUE(WaitUntil([&] { return !test::WindowText(program->Item(kQuotaLine)).empty(); })) << run;
    EXPECT_EQ(program->Close(), 1u);
    const std::string text = DecipherSettingsText(test::ReadBytes(SettingsFilePath()));
    EXPECT_EQ(text, user + "\x01\x02" + "1024\x02" + user + "\x01\x02") << run;
    EXPECT_EQ(test::StoredPassword(L"Fernwick:" + WideFrom936(user)), WideFrom936(password)) << run;
  }
  const std::string log = ProgramLog();
  EXPECT_NE(log.find("request sign-in: HTTP 200, result 0"), std::string::npos) << log;
  EXPECT_EQ(log.find(password), std::string::npos);
  EXPECT_EQ(log.find("Hush"), std::string::npos);
}

// Puts the server's version back for the runs after this one, however the test ends.
struct ObligatoryUpgradeScope {
  ObligatoryUpgradeScope() {
    Control("setting?key=version_id&value=99.0");
    Control("setting?key=is_upgrade&value=1");
  }
  ~ObligatoryUpgradeScope() {
    Control("setting?key=version_id&value=1.0");
    Control("setting?key=is_upgrade&value=0");
  }
};

TEST_F(ProgramUpload, TheExitForAnObligatoryUpgradeWritesTheSettingsFile) {
  EXPECT_EQ(program->Close(), 1u);
  ObligatoryUpgradeScope upgrade;
  // The question may come before the main window has first been shown, and then it stays
  // hidden behind it: only the question is waited for.
  program = std::make_unique<ProgramDriver>();
  ASSERT_TRUE(WaitUntil([&] { return program->Prompt() != nullptr; }));
  ASSERT_TRUE(::DeleteFileW(SettingsFilePath().c_str()));
  EXPECT_EQ(program->AnswerPrompt(), L"现在有新的版本，你必须下载新的版本才能继续使用.");
  ASSERT_TRUE(WaitUntil([&] { return test::FileExists(SettingsFilePath()); }));
  EXPECT_TRUE(WaitUntil([&] { return test::TopLevelWindowsOfProcess(program->processId(), L"Fernwick").empty(); }));
  ExpectSettingsWrittenFor(user);
}

// Cancel through the real program's own window and message box; the batch's rules after Cancel
// are UploadBatchTest's (the levels are listed at ProgressPageTest's Cancel test).
TEST_F(ProgramUpload, CancelDuringTheThirdOfFivePhotos) {
  AddPictures(5);
  Control("fault?kind=delay&path=/upload/toolupload.aspx&value=600&count=-1");
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitUntil([&] { return program->ProgressStatus() == L"发送图片'p3'"; }));
  const ULONGLONG pressed = ::GetTickCount64();
  ProgramDriver::Press(::GetDlgItem(program->ProgressPage(), IDC_PROGRESS_CANCEL));
  ASSERT_TRUE(WaitForDonePage());
  // The photo in flight is finished, well within the grace a stalled one would have.
  EXPECT_LT(::GetTickCount64() - pressed, kCancelGraceMs) << "the photo in flight finishes";
  // p3 arrived and left the list; p4 and p5 stay.
  const std::wstring said = program->AnswerPrompt(2000);
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].title, "p3");
  EXPECT_EQ(said, L"(no message)") << "p4 and p5 are in the list for the user to see";
}

TEST_F(ProgramUpload, TooLittleQuotaForTheFourthPhoto) {
  const auto paths = AddPictures(5);
  long fit = 0;
  for (int i = 0; i < 4; ++i) fit += static_cast<long>(test::ReadBytes(paths[static_cast<size_t>(i)]).size());
  PutAccount(fit - 1, "pw");
  UploadWith(L"", IDC_PHOTO_PRIVATE);
  EXPECT_EQ(program->AnswerPrompt(), L"你的空间已经不够,请购买空间。");
  ASSERT_TRUE(WaitForDonePage());
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].status, "0");
}

TEST_F(ProgramUpload, ServerUnreachableAtOk) {
  AddPictures(1);
  // Every request from now on loses its connection before any answer.
  Control("fault?kind=drop&path=*&count=-1");
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  EXPECT_EQ(program->AnswerPrompt(), L"不能连接服务器,请检查网络.");
  Control("clear");
  EXPECT_TRUE(ProgramDriver::Shown(program->SettingsPage()));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(program->Item(kOkButton)) != FALSE; }));
  EXPECT_TRUE(StoredPhotos(user).empty());
}

// The real program's login window after a refused saved password; what OK does then is owned by
// UploadBatchTest's test of the same case.
TEST_F(ProgramUpload, WrongSavedPasswordAsksThenACancelledLoginUploadsNothing) {
  AddPictures(1);
  PutAccount(50L * 1024 * 1024, "changed");  // the saved password no longer works
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  EXPECT_EQ(program->AnswerPrompt(), L"用户名或密码错误.");
  HWND login = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (login = program->TopLevel(L"Lumora用户登录信息")) != nullptr; }));
  ProgramDriver::Press(::GetDlgItem(login, IDCANCEL));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(login); }));
  EXPECT_TRUE(ProgramDriver::Shown(program->SettingsPage()));
  EXPECT_FALSE(ProgramDriver::Shown(program->ProgressPage()));
  EXPECT_TRUE(StoredPhotos(user).empty());
}

TEST_F(ProgramUpload, ZeroKBeforeAPhotoEndsTheBatchQuietly) {
  AddPictures(3);
  Control("fault?kind=delay&path=/upload/toolupload.aspx&value=800&count=1");
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  // While the first photo is on its way, the next token request is set to answer "0k".
  ASSERT_TRUE(WaitUntil([&] { return program->ProgressStatus() == L"发送图片'p1'"; }));
  Control("fault?kind=zerok&path=/upload/auth.aspx");
  ASSERT_TRUE(WaitForDonePage());
  EXPECT_EQ(program->Prompt(), nullptr);
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].title, "p1");
  // The two that were not sent are still in the list: a second batch sends exactly them.
  ProgramDriver::Press(::GetDlgItem(program->DonePage(), IDC_DONE_BACK));
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->Item(kUploadButton)); }));
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitForDonePage());
  const auto after = StoredPhotos(user);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[1].title, "p2");
  EXPECT_EQ(after[2].title, "p3");
}

TEST_F(ProgramUpload, AServerErrorOnOneUploadLeavesThatPhotoAndSaysSo) {
  AddPictures(3);
  Control("fault?kind=status&path=/upload/toolupload.aspx&value=500&count=1");
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  EXPECT_EQ(program->AnswerPrompt(), BatchSummaryText(2, {{MissReason::Refused, L"p1"}}));
  ASSERT_TRUE(WaitForDonePage());
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].title, "p2");
  EXPECT_EQ(stored[1].title, "p3");
}

TEST_F(ProgramUpload, TwoBatchesThenViewPhotosOpensAllFiveNewestFirst) {
  AddPictures(3);
  UploadWith(L"一", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitForDonePage());
  ProgramDriver::Press(::GetDlgItem(program->DonePage(), IDC_DONE_BACK));
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->Item(kUploadButton)); }));
  for (int i = 4; i <= 5; ++i) {
    ASSERT_TRUE(program->AddThroughOpenDialog(Picture(L"q" + std::to_wstring(i), 200, 150)));
  }
  UploadWith(L"二", IDC_PHOTO_PRIVATE);
  ASSERT_TRUE(WaitForDonePage());
  ProgramDriver::Press(::GetDlgItem(program->DonePage(), IDC_DONE_VIEW_PHOTOS));
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 5u);
  EXPECT_EQ(stored[0].status, "1");
  EXPECT_EQ(stored[4].status, "0");
  EXPECT_EQ(stored[4].tags, "二");
  EXPECT_EQ(test::LaunchScope::WaitForLaunch(), "\"" + test::BatchAddress(stored) + "\"\n");
}

// The shell's ways in: a start with paths (a folder with a subfolder, a text file, a photo)
// lists exactly the pictures; a second start hands its own to the first and ends; one during
// a batch is added after it.
TEST_F(ProgramUpload, PathsFromTheShellAreAddedInOrderAndHandedToTheRunningWindow) {
  const std::wstring shelf = folder + L"shelf";
  ::CreateDirectoryW(shelf.c_str(), nullptr);
  ::CreateDirectoryW((shelf + L"\\sub").c_str(), nullptr);
  ASSERT_TRUE(test::WriteQuadrantPicture(shelf + L"\\b.jpg", 200, 150, "jpg"));
  ASSERT_TRUE(test::WriteQuadrantPicture(shelf + L"\\sub\\c.png", 200, 150, "png"));
  ASSERT_TRUE(test::WriteBytes(folder + L"note.txt", "not a picture"));
  const auto waitForAdd = [&] {
    ::SendMessageW(program->main(), WM_NULL, 0, 0);
    return WaitUntil([&] { return !::IsWindowVisible(program->Item(ids::kAddingStop)); });
  };
  const auto handOver = [&](const std::vector<std::wstring>& paths) {
    test::ProgramRun second(L"" FERNWICK_E2E_PROGRAM);
    DWORD exitCode = 1;
    return second.Start(paths) && second.WaitForExit(exitCode, 10000) && exitCode == 0;
  };
  program->Close();
  program =
      std::make_unique<ProgramDriver>(std::vector<std::wstring>{shelf, folder + L"note.txt", Picture(L"a", 200, 150)});
  ASSERT_TRUE(program->started());
  ASSERT_TRUE(WaitUntil([&] { return !test::WindowText(program->Item(kQuotaLine)).empty(); }));
  ASSERT_TRUE(waitForAdd());
  ASSERT_TRUE(handOver({Picture(L"d", 200, 150), Picture(L"e", 200, 150)}));
  ASSERT_TRUE(waitForAdd());

  Control("fault?kind=delay&path=/upload/toolupload.aspx&value=700&count=-1");
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->ProgressPage()); }));
  // Not the bytes of a, d or e, which this account has sent by then: a photo sent before is asked about.
  ASSERT_TRUE(handOver({Picture(L"f", 208, 150)}));
  ASSERT_TRUE(WaitForDonePage());
  Control("clear");
  std::vector<std::string> titles;
  for (const StoredPhoto& photo : StoredPhotos(user)) titles.push_back(photo.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"b", "c", "a", "d", "e"}));

  ProgramDriver::Press(::GetDlgItem(program->DonePage(), IDC_DONE_BACK));
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program->Item(kUploadButton)); }));
  ASSERT_TRUE(waitForAdd());
  UploadWith(L"", IDC_PHOTO_PUBLIC);
  ASSERT_TRUE(WaitForDonePage());
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 6u);
  EXPECT_EQ(stored[5].title, "f");
}

}  // namespace
}  // namespace fernwick
