// Whole upload batches in-process: the real main window, the real worker thread and the
// reference server. The test pumps the window's messages itself, so it can act between two
// steps of the worker: the worker waits for each step it hands to the window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "accounts/settings_file.h"
#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/handles.h"
#include "base/program_state.h"
#include "base/work_directories.h"
#include "base/prompt.h"
#include "accounts/core/account_texts.h"
#include "base/text_936.h"
#include "imaging/add_photos.h"
#include "imaging/picture_io.h"
#include "service/core/transfer_limits.h"
#include "service/service_client.h"
#include "upload/batch_journal_file.h"
#include "upload/core/resume_question.h"
#include "upload/core/retry_rules.h"
#include "reference_server.h"
#include "stored_photos.h"
#include "support/account_test_support.h"
#include "support/photo_test_pictures.h"
#include "support/test_files.h"
#include "support/window_helpers.h"

namespace fernwick {
namespace {

using test::Control;
using test::Visible;

using test::StoredBytes;
using test::StoredPhotos;

class UploadBatchTest : public test::ReferenceServerTest {
 protected:
  void SetUp() override {
    test::ReferenceServerTest::SetUp();
    ::DeleteFileW(SettingsFilePath().c_str());
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    ::ShowWindow(dialog.hwnd(), SW_SHOW);
    test::PumpPendingMessages();
    static int serial = 0;
    user = "batch" + std::to_string(::GetTickCount64()) + "_" + std::to_string(++serial);
    PutAccount(50 * 1024 * 1024);
    dialog.accounts().Switch({WideFrom936(user), L"pw"});
    folder = test::FreshDirectory(L"upload_batch");
  }
  void TearDown() override {
    if (::IsWindow(dialog.hwnd())) ::DestroyWindow(dialog.hwnd());
    ::DeleteFileW(SettingsFilePath().c_str());
    RemoveBatchJournal();  // a batch cut off by a close leaves one
    test::ReferenceServerTest::TearDown();
  }

  void PutAccount(long quota, const std::string& blog = "b") { test::PutAccount(user, "pw", quota, blog); }

  // Adds photos p1..pN, each a different size, also from the photos of an earlier call (a photo
  // sent before would be asked about); returns their paths.
  std::vector<std::wstring> AddPhotos(int count) {
    std::vector<std::wstring> paths;
    for (int i = 1; i <= count; ++i) {
      const std::wstring path = folder + L"p" + std::to_wstring(i) + L".jpg";
      const int size = ++madePhotos;
      EXPECT_TRUE(test::WriteQuadrantPicture(path, 120 + 20 * size, 90 + 10 * size, "jpg"));
      EXPECT_TRUE(AddPhoto(dialog.photos(), path, 1024));
      paths.push_back(path);
    }
    dialog.view().Layout();
    return paths;
  }

  HWND Item(int id) const { return dialog.Item(id); }

  // Upload, then OK, as the user does; then the window's messages until the batch has ended.
  // `between` runs after each message is handled and while none comes; the worker is then either
  // waiting for its next step to be handled or busy with the server, never changing the window.
  void RunBatch(const std::function<void()>& between = {}) {
    ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kUploadButton, 0);
    ASSERT_TRUE(Visible(dialog.settingsPage().hwnd()));
    ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kOkButton, 0);
    Pump(between);
  }
  void Pump(const std::function<void()>& between = {}) {
    const DWORD start = ::GetTickCount();
    const UploadSession& session = dialog.uploadSession();
    while ((session.checking() || session.running()) &&
           ::GetTickCount() - start < 120000) {  // a failure bound, not a pace
      MSG message{};
      if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        if (between) between();  // the worker may be waiting on the server, with nothing posted
        continue;
      }
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
      if (between) between();
    }
    test::PumpPendingMessages();
    ASSERT_FALSE(session.checking() || session.running()) << "the batch did not end";
  }
  std::wstring Status() { return test::WindowText(dialog.progressPage().Item(ProgressPage::kStatusLine)); }
  int OverallPosition() {
    return static_cast<int>(::SendMessageA(dialog.progressPage().overallBar(), PBM_GETPOS, 0, 0));
  }
  // The titles as they would be sent (code page 936 bytes).
  std::vector<std::string> ListTitles() {
    std::vector<std::string> titles;
    for (size_t slot = 0; slot < dialog.photos().Count(); ++slot) {
      if (PhotoItem* item = dialog.photos().SlotAt(slot)) titles.push_back(To936Lossy(item->title));
    }
    return titles;
  }

  MainDialog dialog;
  std::string user;
  std::wstring folder;
  int madePhotos = 0;  // by AddPhotos, in this test
};

TEST_F(UploadBatchTest, AWholeBatchArrivesInOrderAndEndsOnTheDonePage) {
  const auto paths = AddPhotos(3);
  std::vector<int64_t> sizes;
  for (size_t slot = 0; slot < 3; ++slot) sizes.push_back(dialog.photos().SlotAt(slot)->fileSize);
  const double total = static_cast<double>(sizes[0] + sizes[1] + sizes[2]);
  const size_t idsBefore = UploadedPhotoIds().size();
  test::PromptRecorder prompts;
  std::vector<std::pair<std::wstring, int>> shown;  // status line and overall position as sent
  RunBatch([&] {
    if (Visible(dialog.progressPage().hwnd()) && (shown.empty() || shown.back().first != Status())) {
      if (!Status().empty()) shown.emplace_back(Status(), OverallPosition());
      // Renamed while p2 goes: p3's token request brings the new name.
      if (Status() == L"发送图片'p2'") PutAccount(50 * 1024 * 1024, "b2");
    }
  });
  EXPECT_EQ(dialog.accounts().blogName(), "b2");
  EXPECT_TRUE(prompts.seen.empty());
  // The overall bar moves by the batch's bytes: when a photo starts, it shows those before it.
  EXPECT_EQ(shown, (std::vector<std::pair<std::wstring, int>>{
                       {L"发送图片'p1'", 0},
                       {L"发送图片'p2'", static_cast<int>(sizes[0] / total * 1000)},
                       {L"发送图片'p3'", static_cast<int>((sizes[0] + sizes[1]) / total * 1000)}}));
  // The sign-in check of OK, then 2N + 1 on the worker's connection.
  EXPECT_EQ(test::CapturedCount(), 1 + 2 * 3 + 1);

  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 3u);
  const auto ids = UploadedPhotoIds();
  ASSERT_EQ(ids.size(), idsBefore + 3);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(stored[i].id, ids[idsBefore + i]);
    EXPECT_EQ(stored[i].title, "p" + std::to_string(i + 1));
    EXPECT_EQ(stored[i].status, "1");  // a fresh page: public
    EXPECT_EQ(stored[i].tags, "");
    EXPECT_TRUE(test::SameBytes(StoredBytes(stored[i].id), test::ReadBytes(paths[i])));
  }

  EXPECT_EQ(dialog.photos().Count(), 0u);
  EXPECT_FALSE(Visible(dialog.progressPage().hwnd()));
  EXPECT_FALSE(Visible(dialog.settingsPage().hwnd()));
  EXPECT_TRUE(Visible(dialog.donePage()->hwnd()));
  EXPECT_FALSE(Visible(Item(ids::kOkButton)));
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kOkButton)));
  EXPECT_EQ(::GetFocus(), dialog.donePage()->Item(DonePage::kViewPhotosButton));
  // Both bars count thousandths, of the last photo and of the batch: both full at the end.
  for (HWND bar : {dialog.progressPage().upperBar(), dialog.progressPage().overallBar()}) {
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 1000);
  }
  // The quota line follows the worker's rule (+ 1) with the usage before the last photo.
  const long usedBeforeLast = stored[0].size + stored[1].size;
  const int percent = static_cast<int>(usedBeforeLast / (50.0 * 1024 * 1024) * 100 + 1);
  EXPECT_EQ(test::WindowText(Item(ids::kQuotaLine)), L"使用了" + std::to_wstring(percent) + L"%的本月上传空间");
}

// While the batch runs its journal holds each photo's original file, turn and state (the one
// being sent said to be so before it goes); the batch's end removes it.
TEST_F(UploadBatchTest, TheJournalFollowsTheBatchAndGoesAtItsEnd) {
  const auto paths = AddPhotos(3);
  dialog.photos().SlotAt(2)->TurnQuarter(false);
  dialog.settingsPage().SetTags(L"海边");
  dialog.settingsPage().SetVisibilityIndex(2);
  dialog.settingsPage().Transfer(false);
  RemoveBatchJournal();
  // The server holds the first two photos a while: the second is surely in flight when read.
  test::Control("fault?kind=delay&path=/upload/toolupload.aspx&value=500&count=2");
  std::optional<BatchJournal> during;
  RunBatch([&] {
    if (!during && Status() == L"发送图片'p2'") {
      // Read as another copy of the program would, beside a change being appended.
      UniqueFile appending(::CreateFileW(BatchJournalPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      EXPECT_TRUE(appending);
      during = ReadBatchJournal().journal;
    }
  });
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 3u);
  ASSERT_TRUE(during);
  EXPECT_EQ(*during, (BatchJournal{Utf8FromWide(L"海边"),
                                   2,
                                   {{Utf8FromWide(paths[0]), 0, JournalState::Sent, stored[0].id},
                                    {Utf8FromWide(paths[1]), 0, JournalState::Sending, 0},
                                    {Utf8FromWide(paths[2]), -90, JournalState::Waiting, 0}}}));
  EXPECT_FALSE(test::FileExists(BatchJournalPath()));
}

TEST_F(UploadBatchTest, ASecondOkDuringTheBatchDoesNothing) {
  AddPhotos(2);
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kUploadButton, 0);
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kOkButton, 0);
  // The account is being checked, or the worker already waits for the page's settings.
  EXPECT_TRUE(dialog.uploadSession().checking() || dialog.uploadSession().running());
  EXPECT_FALSE(::IsWindowEnabled(Item(ids::kOkButton)));
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kOkButton, 0);
  Pump();
  // One sign-in check, one batch: 2N + 1 on the worker's connection.
  EXPECT_EQ(test::CapturedCount(), 1 + 2 * 2 + 1);
  EXPECT_EQ(StoredPhotos(user).size(), 2u);
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kOkButton)));
}

struct VisibilityCase {
  int radio;
  const char* status;
};
class UploadVisibilityTest : public UploadBatchTest, public ::testing::WithParamInterface<VisibilityCase> {};

TEST_P(UploadVisibilityTest, TagsAndVisibilityTravelWithEveryPhotoAndTheTagsAreEmptiedAfter) {
  AddPhotos(2);
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kUploadButton, 0);
  HWND page = dialog.settingsPage().hwnd();
  ::SetDlgItemTextA(page, PhotoSettingsPage::kTagsEdit, "旅游  朋友 sea");
  for (int id = IDC_PHOTO_PUBLIC; id <= IDC_PHOTO_PRIVATE; ++id) {
    ::SendDlgItemMessageA(page, id, BM_SETCHECK, id == GetParam().radio ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  RunBatch();
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 2u);
  for (const auto& photo : stored) {
    EXPECT_EQ(photo.status, GetParam().status);
    EXPECT_EQ(photo.tags, "旅游  朋友 sea");
  }
  EXPECT_EQ(test::WindowText(::GetDlgItem(page, PhotoSettingsPage::kTagsEdit)), L"");
  EXPECT_EQ(dialog.settingsPage().tags(), L"");
  EXPECT_EQ(::SendDlgItemMessageA(page, GetParam().radio, BM_GETCHECK, 0, 0), BST_CHECKED);
}
INSTANTIATE_TEST_SUITE_P(Radios, UploadVisibilityTest,
                         ::testing::Values(VisibilityCase{IDC_PHOTO_PUBLIC, "1"},
                                           VisibilityCase{IDC_PHOTO_FRIENDS_ONLY, "2"},
                                           VisibilityCase{IDC_PHOTO_PRIVATE, "0"}));

TEST_F(UploadBatchTest, ATurnedPhotoIsSentAsARotatedCopy) {
  const auto paths = AddPhotos(1);
  dialog.view().RotateSelected(true);
  RunBatch();
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 1u);
  const std::string bytes = StoredBytes(stored[0].id);
  const std::wstring copy = folder + L"stored.jpg";
  test::WriteBytes(copy, bytes);
  GpBitmapPtr picture;
  ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromFile(copy.c_str(), picture.put()), Gdiplus::Ok);
  UINT width = 0, height = 0;
  Gdiplus::DllExports::GdipGetImageWidth(picture.get(), &width);
  Gdiplus::DllExports::GdipGetImageHeight(picture.get(), &height);
  EXPECT_EQ(width, 100u);  // 100 x 140 turned a quarter
  EXPECT_EQ(height, 140u);
  // Clockwise: the bottom-left blue comes to the top left.
  EXPECT_EQ(test::QuadrantsOf(picture.get()), (std::vector<int>{2, 0, 3, 1}));
}

// Any name Windows allows is added, copied, turned and sent, whatever the system's code page.
// The title goes on the wire in code page 936 ("?" for what it cannot hold); the expected
// titles are narrow literals, which the compiler writes in code page 936.
TEST_F(UploadBatchTest, PhotosOfAnyNameAreAddedAndSent) {
  // Deep enough for a path longer than MAX_PATH.
  std::wstring deep = folder;
  for (int level = 0; level < 3; ++level) {
    deep += std::wstring(90, static_cast<wchar_t>(L'a' + level)) + L"\\";
    ::CreateDirectoryW(deep.c_str(), nullptr);
  }
  struct NameCase {
    std::wstring path;
    const char* format;
    bool turned;
    std::string title;
  };
  const NameCase cases[] = {
      {folder + L"plain.jpg", "jpg", false, "plain"},
      {folder + L"海边 café.jpg", "jpg", true, "海边 café"},
      {folder + L"한국 😀.png", "png", false, "?? ?"},
      {folder + L"한국 😀.jpg", "jpg", true, "?? ?"},
      {folder + L"é.bmp", "bmp", true, "é"},
      {deep + L"海边 😀 long.jpg", "jpg", false, "海边 ? long"},
  };
  for (const NameCase& c : cases) {
    ASSERT_TRUE(test::WriteQuadrantPicture(c.path, 120, 80, c.format)) << c.title;
    ASSERT_TRUE(AddPhoto(dialog.photos(), c.path, 1024)) << c.title;
    if (c.turned) dialog.view().RotateSelected(true);
  }
  ASSERT_GT(cases[std::size(cases) - 1].path.size(), static_cast<size_t>(MAX_PATH));
  dialog.view().Layout();
  RunBatch();

  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), std::size(cases));
  for (size_t i = 0; i < stored.size(); ++i) {
    SCOPED_TRACE(cases[i].title);
    EXPECT_EQ(stored[i].title, cases[i].title);
    const std::wstring copy = folder + L"stored.jpg";
    ASSERT_TRUE(test::WriteBytes(copy, StoredBytes(stored[i].id)));
    GpBitmapPtr picture = DecodePicture(copy);
    const std::vector<int> want = cases[i].turned ? std::vector<int>{2, 0, 3, 1} : std::vector<int>{0, 1, 2, 3};
    EXPECT_EQ(test::QuadrantsOf(picture.get()), want);
  }
  EXPECT_EQ(dialog.photos().Count(), 0u);
}

TEST_F(UploadBatchTest, ATurnedPhotoWhoseCopyCannotBeWrittenStaysAsItWasForTheNextBatch) {
  AddPhotos(1);
  dialog.view().RotateSelected(true);
  const std::wstring original = dialog.photos().SlotAt(0)->sendPath;
  DeleteDirectoryTree(RotatedCopiesDirectory());  // nowhere to write the turned copy
  {
    test::PromptRecorder prompts;
    RunBatch();
    EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{BatchSummaryText(0, {{MissReason::Unreadable, L"p1"}})}));
  }
  EXPECT_TRUE(StoredPhotos(user).empty());
  ASSERT_EQ(ListTitles(), (std::vector<std::string>{"p1"}));
  const PhotoItem& kept = *dialog.photos().SlotAt(0);
  EXPECT_EQ(kept.sendPath, original);
  EXPECT_EQ(kept.angle, 90);

  // With room for the copy again, the same photo goes, turned.
  CreateWorkDirectories();
  ::SendMessageA(dialog.donePage()->hwnd(), WM_COMMAND, DonePage::kBackButton, 0);
  test::PromptRecorder prompts;
  RunBatch();
  EXPECT_TRUE(prompts.seen.empty());
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 1u);
  const std::wstring copy = folder + L"stored.jpg";
  test::WriteBytes(copy, StoredBytes(stored[0].id));
  GpBitmapPtr picture;
  ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromFile(copy.c_str(), picture.put()), Gdiplus::Ok);
  EXPECT_EQ(test::QuadrantsOf(picture.get()), (std::vector<int>{2, 0, 3, 1}));
  EXPECT_TRUE(ListTitles().empty());
}

// Owns what a batch makes of Cancel (the levels are listed at ProgressPageTest's Cancel test).
// The server stops reading the third photo's request; Cancel lets it finish while it moves,
// and cuts it off once nothing has moved for the grace since. Its whole body had gone to the
// connection already (it is small), so the program cannot know whether it was stored.
TEST_F(UploadBatchTest, CancelCutsOffAStalledPhotoAfterItsGraceAndItStays) {
  AddPhotos(5);
  test::PromptRecorder prompts;
  bool armed = false;
  ULONGLONG cancelledAt = 0;
  RunBatch([&] {
    if (!armed && dialog.photos().SlotAt(1) == nullptr && Status() == L"发送图片'p2'") {
      test::ArmFault("stall", "/upload/toolupload.aspx", 20000);
      armed = true;
    }
    if (!cancelledAt && Status() == L"发送图片'p3'") {
      ::Sleep(300);  // well inside the request
      ::SendMessageA(dialog.progressPage().hwnd(), WM_COMMAND, ProgressPage::kCancelButton, 0);
      cancelledAt = ::GetTickCount64();
    }
  });
  const ULONGLONG took = ::GetTickCount64() - cancelledAt;
  ASSERT_NE(cancelledAt, 0u);
  EXPECT_GE(took, kCancelGraceMs - 500) << "the photo in flight had its grace";
  EXPECT_LT(took, kCancelGraceMs + 3000) << "and no more: the stall limit is a minute";
  EXPECT_EQ(StoredPhotos(user).size(), 2u);
  EXPECT_EQ(ListTitles(), (std::vector<std::string>{"p3", "p4", "p5"}));
  // Only p3 is named: p4 and p5, which the batch never reached, are in the list for all to see.
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{L"2张图片上传成功。\n有1张图片没有上传成功，它们仍在列表中：\n"
                                                        L"可能已经在网站上，请先查看网站：'p3'"}));
  EXPECT_TRUE(Visible(dialog.donePage()->hwnd()));
}

// Cancel while the token request before the second photo waits for its answer: a cancel, not
// a lost connection.
TEST_F(UploadBatchTest, CancelDuringATokenRequestIsACancel) {
  AddPhotos(2);
  test::PromptRecorder prompts;
  bool armed = false;
  bool cancelled = false;
  test::ArmFault("delay", "/upload/toolupload.aspx", 1500);  // time to arm the next fault
  RunBatch([&] {
    if (!armed && Status() == L"发送图片'p1'") {
      test::ArmFault("delay", "/upload/auth.aspx", 3000);
      armed = true;
    }
    if (armed && !cancelled && dialog.photos().SlotAt(0) == nullptr) {
      ::Sleep(300);  // inside the token request
      ::SendMessageA(dialog.progressPage().hwnd(), WM_COMMAND, ProgressPage::kCancelButton, 0);
      cancelled = true;
    }
  });
  ASSERT_TRUE(cancelled);
  for (const std::wstring& text : prompts.Texts()) EXPECT_NE(text, kNoConnectionText);
  EXPECT_EQ(StoredPhotos(user).size(), 1u);
  EXPECT_EQ(ListTitles(), (std::vector<std::string>{"p2"}));
  EXPECT_TRUE(Visible(dialog.donePage()->hwnd()));
}

// A turned photo the server refused keeps its turned copy; a second batch, cut off, must
// still journal the turn from the user's own file, and the resume brings it back turned.
TEST_F(UploadBatchTest, ATurnAppliedByAnEarlierBatchIsResumedFromTheOriginal) {
  const auto paths = AddPhotos(1);
  dialog.photos().SlotAt(0)->TurnQuarter(true);
  test::ArmFault("status", "/upload/toolupload.aspx", 500);
  // Yes to the close and to every question of the resume.
  ScopedPromptAnswerer answerer(
      [](const PromptRequest& request) { return (request.type & MB_YESNO) != 0 ? IDYES : IDOK; });
  RunBatch();
  ASSERT_EQ(dialog.photos().SlotAt(0)->angle, 0);  // the turned copy is the photo's now
  ::SendMessageA(dialog.donePage()->hwnd(), WM_COMMAND, DonePage::kBackButton, 0);
  std::optional<BatchJournal> during;
  test::ArmFault("stall", "/upload/toolupload.aspx", 20000);
  ASSERT_NO_FATAL_FAILURE(RunBatch([&] {
    if (during) return;
    FoundJournal found = ReadBatchJournal();
    if (found.kind != FoundJournal::Kind::Read || found.journal.photos.size() != 1) return;
    if (found.journal.photos[0].state != JournalState::Sending) return;
    during = std::move(found.journal);
    ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  }));
  ASSERT_TRUE(during);
  EXPECT_EQ(during->photos[0].turn, 90);
  MainDialog again;
  ASSERT_NE(again.Create(nullptr), nullptr);
  again.OfferUnfinishedBatch();
  for (const ULONGLONG limit = ::GetTickCount64() + 30000;  // a failure bound, not a pace
       (again.preparer().busy() || again.photos().Count() == 0) && ::GetTickCount64() < limit;) {
    test::PumpPendingMessages();
    ::Sleep(20);
  }
  test::PumpPendingMessages();
  ASSERT_EQ(again.photos().Count(), 1u);
  EXPECT_EQ(again.photos().SlotAt(0)->sourcePath, paths[0]);
  EXPECT_EQ(again.photos().SlotAt(0)->angle, 90);
  ::DestroyWindow(again.hwnd());
}

// Windows ends the session while a photo is on its way: the journal is written there and then,
// the photo as being sent, even when the worker's own write did not get through.
TEST_F(UploadBatchTest, TheEndOfTheSessionWritesTheJournalWithThePhotoInFlight) {
  AddPhotos(2);
  test::ArmFault("stall", "/upload/toolupload.aspx", 20000);
  test::PromptRecorder prompts({IDYES});
  std::optional<BatchJournal> written;
  RunBatch([&] {
    if (written || Status() != L"发送图片'p1'") return;
    ::DeleteFileW(BatchJournalPath().c_str());  // as if the file had been held at the worker's write
    ::SendMessageA(dialog.hwnd(), WM_ENDSESSION, TRUE, 0);
    written = ReadBatchJournal().journal;
    ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
  });
  ASSERT_TRUE(written && written->photos.size() == 2);
  EXPECT_EQ(written->photos[0].state, JournalState::Sending);
  EXPECT_EQ(written->photos[1].state, JournalState::Waiting);
}

// A journal held by another program for the moment, or whose question could not be shown, is
// kept for the next start; the question answered, it goes.
TEST_F(UploadBatchTest, AJournalIsKeptUntilItsQuestionIsAnswered) {
  const std::wstring gone = folder + L"gone.jpg";
  ASSERT_TRUE(WriteBatchJournal(BatchJournal{"t", 0, {{JournalText(gone), 0, JournalState::Waiting, 0}}}));
  {
    UniqueFile held(::CreateFileW(BatchJournalPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    test::PromptRecorder prompts;
    dialog.OfferUnfinishedBatch();
    EXPECT_TRUE(prompts.seen.empty());
  }
  EXPECT_TRUE(test::FileExists(BatchJournalPath()));
  {
    ScopedPromptAnswerer unshown([](const PromptRequest&) { return 0; });
    dialog.OfferUnfinishedBatch();
  }
  EXPECT_TRUE(test::FileExists(BatchJournalPath()));
  test::PromptRecorder prompts;
  dialog.OfferUnfinishedBatch();
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{ResumeQuestionText({1, 0, {gone}, 0, 0})}));
  EXPECT_FALSE(test::FileExists(BatchJournalPath()));
}

TEST_F(UploadBatchTest, APhotoOverTheRemainingQuotaStopsTheBatchWithTheMessage) {
  const auto paths = AddPhotos(5);
  long firstThree = 0;
  for (int i = 0; i < 3; ++i) firstThree += static_cast<long>(test::ReadBytes(paths[i]).size());
  PutAccount(firstThree + static_cast<long>(test::ReadBytes(paths[3]).size()) - 1);
  test::PromptRecorder prompts;
  RunBatch();
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{L"你的空间已经不够,请购买空间。"}));
  EXPECT_EQ(StoredPhotos(user).size(), 3u);
  EXPECT_EQ(ListTitles(), (std::vector<std::string>{"p4", "p5"}));
  EXPECT_TRUE(Visible(dialog.donePage()->hwnd()));
  // 3 sent, then the token request that found the fourth too large.
  EXPECT_EQ(test::CapturedCount(), 1 + 1 + 2 * 3 + 1);
}

TEST_F(UploadBatchTest, AnUnreachableServerAtOkStartsNothing) {
  AddPhotos(2);
  ScopedServiceEndpoint nowhere({"127.0.0.1", 1});
  test::PromptRecorder prompts;
  RunBatch();
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{L"不能连接服务器,请检查网络."}));
  EXPECT_EQ(dialog.photos().Count(), 2u);
  EXPECT_TRUE(Visible(dialog.settingsPage().hwnd()));
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kOkButton)));
}

// A message box that fails while the worker waits for it: the batch still ends on the done
// page with OK usable again, and the photos not sent stay.
struct FailingPromptCase {
  const char* name;
  bool quotaTooSmall;  // else the server refuses the first photo
  std::vector<std::string> left;
};
class UploadFailingPromptTest : public UploadBatchTest, public ::testing::WithParamInterface<FailingPromptCase> {};
TEST_P(UploadFailingPromptTest, TheBatchStillEnds) {
  const auto paths = AddPhotos(2);
  if (GetParam().quotaTooSmall) {
    PutAccount(static_cast<long>(test::ReadBytes(paths[0]).size()) - 1);
  } else {
    test::ArmFault("status", "/upload/toolupload.aspx", 500);
  }
  int asked = 0;
  ScopedPromptAnswerer failing([&](const PromptRequest&) -> int {
    ++asked;
    throw std::runtime_error("no message box");
  });
  RunBatch();
  // The quota's message, or the summary naming the photo not taken.
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(dialog.uploadSession().running());
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kOkButton)));
  EXPECT_TRUE(Visible(dialog.donePage()->hwnd()));
  EXPECT_EQ(ListTitles(), GetParam().left);
}
INSTANTIATE_TEST_SUITE_P(Messages, UploadFailingPromptTest,
                         ::testing::Values(FailingPromptCase{"Closing", false, {"p1"}},
                                           FailingPromptCase{"Quota", true, {"p1", "p2"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// How a batch of three ends: the messages in order, each with its caption and the page it shows
// over, then the page left on screen and the photos. A fault "at start" is armed once OK's own
// sign-in check is over; one "after p1" once p1 is done (sent or not: the page no longer shows
// it, and the worker waits for the window before anything of p2). A step acts once the server
// has seen that many requests (OK's check, the worker's sign-in, then a token request and an
// upload per photo): a control request, or Cancel pressed well inside the wait before a retry.
struct ServerFault {
  const char* kind = nullptr;  // none when null
  const char* path = "";
  long value = 0;
  const char* text = "";
  int count = 1;  // requests it applies to; -1 until cleared
};
struct BatchStep {
  int atRequest = 0;  // none when 0
  const char* control = nullptr;
  bool cancel = false;
};
struct Told {
  const wchar_t* page;
  std::wstring text;
  bool operator==(const Told& other) const { return std::wstring(page) == other.page && text == other.text; }
};
void PrintTo(const Told& told, std::ostream* out) {
  *out << Utf8FromWide(told.page) << ": " << Utf8FromWide(told.text);
}
struct BatchEndCase {
  const char* name;
  ServerFault atStart;
  bool refusePasswordAtStart;
  ServerFault afterP1;
  BatchStep step;
  int photosInQuota;  // the quota holds this many photos and not the next; -1 roomy
  std::vector<Told> told;
  const wchar_t* pageAtEnd;
  std::vector<std::string> left;
  size_t stored;
};
class UploadBatchEndTest : public UploadBatchTest, public ::testing::WithParamInterface<BatchEndCase> {
 protected:
  static void Arm(const ServerFault& fault) {
    if (!fault.kind) return;
    Control(std::string("fault?kind=") + fault.kind + "&path=" + test::Escape(fault.path) + "&value=" +
            std::to_string(fault.value) + "&text=" + test::Escape(fault.text) + "&count=" + std::to_string(fault.count));
  }
  const wchar_t* PageShown() {
    if (Visible(dialog.settingsPage().hwnd())) return L"settings";
    if (Visible(dialog.progressPage().hwnd())) return L"progress";
    return Visible(dialog.donePage()->hwnd()) ? L"done" : L"none";
  }
};
TEST_P(UploadBatchEndTest, TellsWhatTheListCannotShowAndNothingMore) {
  const BatchEndCase& c = GetParam();
  const auto paths = AddPhotos(3);
  if (c.photosInQuota >= 0) {
    long quota = -1;
    for (int i = 0; i <= c.photosInQuota; ++i) quota += static_cast<long>(test::ReadBytes(paths[i]).size());
    PutAccount(quota);
  }
  std::vector<Told> told;
  std::vector<std::wstring> captions;
  ScopedPromptAnswerer answerer([&](const PromptRequest& request) {
    told.push_back({PageShown(), request.text});
    captions.push_back(request.caption);
    return IDOK;
  });
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kUploadButton, 0);
  ::SendMessageA(dialog.hwnd(), WM_COMMAND, ids::kOkButton, 0);
  // OK's own sign-in check runs on a worker; the batch's faults are armed once it has passed.
  // One message at a time, so that the batch's worker, which waits for the window to hand it
  // the page's settings before it signs in, is still waiting when the fault is armed.
  const ULONGLONG giveUp = ::GetTickCount64() + 10000;
  while (!dialog.uploadSession().running() && ::GetTickCount64() < giveUp) {
    MSG message;
    if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  ASSERT_TRUE(dialog.uploadSession().running()) << "OK's own sign-in check passed";
  Arm(c.atStart);
  if (c.refusePasswordAtStart) test::PutAccount(user, "changed", 52428800, "b");
  bool armed = c.afterP1.kind == nullptr;
  bool stepped = c.step.atRequest == 0;
  Pump([&] {
    if (!armed && Status() == L"发送图片'p1'" && !dialog.progressPage().currentItem()) {
      Arm(c.afterP1);
      armed = true;
    }
    if (armed && !stepped && test::CapturedCount() >= c.step.atRequest) {
      stepped = true;
      if (c.step.control) Control(c.step.control);
      if (c.step.cancel) {
        ::Sleep(300);
        ::SendMessageA(dialog.progressPage().hwnd(), WM_COMMAND, ProgressPage::kCancelButton, 0);
      }
    }
  });
  ASSERT_TRUE(test::PumpUntil([] { return !Control("count").empty(); })) << "the server listens again";
  EXPECT_TRUE(armed && stepped);
  EXPECT_EQ(told, c.told);
  EXPECT_EQ(captions, std::vector<std::wstring>(c.told.size(), L"提示"));
  EXPECT_EQ(PageShown(), std::wstring(c.pageAtEnd));
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kOkButton)));
  EXPECT_EQ(ListTitles(), c.left);
  EXPECT_EQ(StoredPhotos(user).size(), c.stored);
}
const wchar_t kCannotConnect[] = L"不能连接服务器,请检查网络.";
const wchar_t kRefused[] = L"用户名或密码错误.";
const ServerFault kNoFault{};
const BatchStep kNoStep{};
const ServerFault kTokenStatus500{"status", "/upload/auth.aspx", 500};
// A token request that fails is tried again like a photo (after about 1 s, then 4 s): every try fails.
const ServerFault kTokenStatus500Always{"status", "/upload/auth.aspx", 500, "", -1};
const ServerFault kP1NotTaken{"status", "/upload/toolupload.aspx", 500};
const wchar_t kP1NotTakenSummary[] =
    L"0张图片上传成功。\n有1张图片没有上传成功，它们仍在列表中：\n服务器没有接受：'p1'";
const std::vector<std::string> kAllLeft{"p1", "p2", "p3"};
const std::vector<std::string> kP2P3Left{"p2", "p3"};
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, UploadBatchEndTest,
    ::testing::Values(
        BatchEndCase{"EveryPhotoSent", kNoFault, false, kNoFault, kNoStep, -1, {}, L"done", {}, 3},
        // p2 is answered 503 and waits to be tried again; Cancel comes meanwhile.
        BatchEndCase{"Cancel", kNoFault, false, ServerFault{"status", "/upload/toolupload.aspx", 503, "", -1},
                     BatchStep{6, nullptr, true}, -1, {}, L"done", kP2P3Left, 1},
        BatchEndCase{"QuotaUsedUp", kNoFault, false, kNoFault, kNoStep, 1,
                     {{L"progress", L"你的空间已经不够,请购买空间。"}}, L"done", kP2P3Left, 1},
        BatchEndCase{"FirstSignInRefused", kNoFault, true, kNoFault, kNoStep, -1, {{L"settings", kRefused}},
                     L"settings", kAllLeft, 0},
        BatchEndCase{"FirstSignInWithoutServer", kTokenStatus500, false, kNoFault, kNoStep, -1,
                     {{L"settings", kCannotConnect}}, L"settings", kAllLeft, 0},
        BatchEndCase{"TokenRequestWithoutServer", kNoFault, false, kTokenStatus500Always, kNoStep, -1,
                     {{L"done", kCannotConnect}}, L"done", kP2P3Left, 1},
        BatchEndCase{"TokenRequestRefused", kNoFault, false,
                     ServerFault{"body", "/upload/auth.aspx", 0, "<userauth stat='fail'></userauth>"}, kNoStep, -1,
                     {{L"done", kRefused}}, L"done", kP2P3Left, 1},
        // p2's token request is held while the server stops listening: its upload finds no
        // server, nor does the token request before the next try.
        BatchEndCase{"UploadWithoutServer", kNoFault, false, ServerFault{"delay", "/upload/auth.aspx", 1000},
                     BatchStep{5, "pause?ms=3000", false}, -1, {{L"done", kCannotConnect}}, L"done", kP2P3Left, 1},
        BatchEndCase{"ZeroK", kNoFault, false, ServerFault{"zerok", "/upload/auth.aspx"}, kNoStep, -1, {}, L"done",
                     kP2P3Left, 1},
        // A photo the server did not take is named, before why the batch stopped, or alone.
        BatchEndCase{"NotTakenThenNoServer", kP1NotTaken, false, kTokenStatus500Always, kNoStep, -1,
                     {{L"done", kP1NotTakenSummary}, {L"done", kCannotConnect}}, L"done", kAllLeft, 0},
        BatchEndCase{"NotTakenThenZeroK", kP1NotTaken, false, ServerFault{"zerok", "/upload/auth.aspx"}, kNoStep, -1,
                     {{L"done", kP1NotTakenSummary}}, L"done", kAllLeft, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(UploadBatchTest, APhotoTheServerDidNotTakeStaysAndIsCounted) {
  AddPhotos(3);
  test::ArmFault("status", "/upload/toolupload.aspx", 500);
  test::PromptRecorder prompts;
  const size_t idsBefore = UploadedPhotoIds().size();
  RunBatch();
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{BatchSummaryText(2, {{MissReason::Refused, L"p1"}})}));
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].title, "p2");
  EXPECT_EQ(stored[1].title, "p3");
  EXPECT_EQ(UploadedPhotoIds().size(), idsBefore + 2);
  EXPECT_EQ(ListTitles(), (std::vector<std::string>{"p1"}));
  EXPECT_TRUE(Visible(dialog.donePage()->hwnd()));
}

// Owns OK's answer to a refused saved password; ProgramUpload repeats it only to see the real
// program's own login window come and go.
TEST_F(UploadBatchTest, AWrongSavedPasswordAsksAgainAndACancelledLoginSendsNothing) {
  AddPhotos(1);
  dialog.accounts().Switch({WideFrom936(user), L"wrong"});
  test::PromptRecorder prompts;
  static bool loginSeen;
  loginSeen = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND login = ::FindWindowA(nullptr, "Lumora用户登录信息");
    if (!login) return;
    loginSeen = true;
    ::PostMessageA(login, WM_COMMAND, IDCANCEL, 0);
  });
  RunBatch();
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{L"用户名或密码错误."}));
  EXPECT_TRUE(loginSeen);
  EXPECT_TRUE(StoredPhotos(user).empty());
  EXPECT_EQ(dialog.photos().Count(), 1u);
  EXPECT_TRUE(Visible(dialog.settingsPage().hwnd()));
}

TEST_F(UploadBatchTest, TwoBatchesThenViewPhotosOpensTheFiveNewestFirst) {
  std::vector<BrowserLaunchRequest> launches;
  ScopedBrowserLauncher launcher([&](const BrowserLaunchRequest& request) {
    launches.push_back(request);
    return true;
  });
  AddPhotos(3);
  RunBatch();
  ::SendMessageA(dialog.donePage()->hwnd(), WM_COMMAND, DonePage::kBackButton, 0);
  EXPECT_TRUE(Visible(dialog.view().hwnd()));
  AddPhotos(2);
  RunBatch();
  ::SendMessageA(dialog.donePage()->hwnd(), WM_COMMAND, DonePage::kViewPhotosButton, 0);
  const auto stored = StoredPhotos(user);
  ASSERT_EQ(stored.size(), 5u);
  std::string expected = "/PhotosBatch.aspx?photoIDs=";
  for (int i = 4; i >= 0; --i) expected += std::to_string(stored[static_cast<size_t>(i)].id) + (i ? "," : "");
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].kind, BrowserLaunchRequest::Kind::kShellOpen);
  // Earlier tests of this program uploaded too; the list goes on with their ids after these.
  const std::string opened = launches[0].text.substr(launches[0].text.find("/PhotosBatch"));
  EXPECT_EQ(opened.substr(0, expected.size()), expected);
  EXPECT_TRUE(opened.size() == expected.size() || opened[expected.size()] == ',') << opened;
  // View photos goes on with Back: the photo list again, laid out.
  EXPECT_FALSE(Visible(dialog.donePage()->hwnd()));
  EXPECT_TRUE(Visible(dialog.view().hwnd()));
  EXPECT_TRUE(Visible(Item(ids::kUploadButton)));
}

TEST_F(UploadBatchTest, BackAfterTheBatchLaysTheViewOutForTheSizeItNowHas) {
  AddPhotos(3);
  Control("fault?kind=status&path=/upload/toolupload.aspx&value=500&count=3");
  test::PromptRecorder prompts;
  bool resized = false;
  RunBatch([&] {
    // Resizing during the batch leaves the view where it was.
    if (!resized && Status() == L"发送图片'p1'") {
      resized = true;
      test::SetClientSize(dialog.hwnd(), 731, 523);
    }
  });
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{BatchSummaryText(
                                 0, {{MissReason::Refused, L"p1"}, {MissReason::Refused, L"p2"}, {MissReason::Refused, L"p3"}})}));
  const RECT before = test::RectInParent(dialog.view().hwnd());
  ::SendMessageA(dialog.donePage()->hwnd(), WM_COMMAND, DonePage::kBackButton, 0);
  const RECT after = test::RectInParent(dialog.view().hwnd());
  EXPECT_NE(before.right, after.right);
  EXPECT_EQ(after.left, 0);
  EXPECT_EQ(after.top, 75);
  EXPECT_EQ(after.right, 731);
  EXPECT_EQ(after.bottom, 523 - 72);
  EXPECT_EQ(ListTitles(), (std::vector<std::string>{"p1", "p2", "p3"}));
}

TEST_F(UploadBatchTest, ClosingDuringAStalledPhotoClosesAtOnce) {
  AddPhotos(4);
  test::PromptRecorder prompts({IDYES});
  bool armed = false;
  ULONGLONG closedAt = 0;
  RunBatch([&] {
    if (!armed && dialog.photos().SlotAt(0) == nullptr && Status() == L"发送图片'p1'") {
      test::ArmFault("stall", "/upload/toolupload.aspx", 20000);
      armed = true;
    }
    if (!closedAt && Status() == L"发送图片'p2'") {
      ::Sleep(300);
      closedAt = ::GetTickCount64();
      ::SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
      EXPECT_TRUE(::IsWindow(dialog.hwnd()));  // not before the worker has ended
    }
  });
  ASSERT_NE(closedAt, 0u);
  EXPECT_LT(::GetTickCount64() - closedAt, 2000u);
  EXPECT_EQ(prompts.Texts(), (std::vector<std::wstring>{L"你确定要退出程序吗？"}));
  EXPECT_FALSE(::IsWindow(dialog.hwnd()));
  EXPECT_EQ(StoredPhotos(user).size(), 1u);
  // The photos not sent leave with the window: the journal stays for the next start.
  const FoundJournal found = ReadBatchJournal();
  ASSERT_EQ(found.kind, FoundJournal::Kind::Read);
  const BatchJournal* journal = &found.journal;
  ASSERT_EQ(journal->photos.size(), 4u);
  EXPECT_EQ(journal->photos[0].state, JournalState::Sent);
  // Its whole body had gone into the connection when it was cut off: it may be on the site.
  EXPECT_EQ(journal->photos[1].state, JournalState::MaybeOnSite);
  EXPECT_EQ(journal->photos[3].state, JournalState::Waiting);
  RemoveBatchJournal();
}

TEST_F(UploadBatchTest, AnUpgradeDuringTheBatchClosesOnlyOnceTheWorkerHasEnded) {
  AddPhotos(3);
  test::PromptRecorder prompts;
  bool upgraded = false;
  RunBatch([&] {
    if (!upgraded && Status() == L"发送图片'p1'") {
      upgraded = true;
      dialog.EndForUpgrade();
      EXPECT_TRUE(::IsWindow(dialog.hwnd()));  // the worker still uses the window and the list
    }
  });
  EXPECT_TRUE(upgraded);
  EXPECT_TRUE(prompts.seen.empty());
  EXPECT_FALSE(::IsWindow(dialog.hwnd()));
  // The photo in flight is cut off, unless it had already arrived.
  EXPECT_LE(StoredPhotos(user).size(), 1u);
}

TEST_F(UploadBatchTest, AWindowDestroyedUnderTheWorkerEndsTheBatchWithoutTouchingIt) {
  AddPhotos(3);
  bool destroyed = false;
  RunBatch([&] {
    if (!destroyed && Status() == L"发送图片'p1'") {
      destroyed = true;
      ::DestroyWindow(dialog.hwnd());
    }
  });
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(dialog.uploadSession().running());
  EXPECT_LE(StoredPhotos(user).size(), 1u);
}

// The batch is the list as OK found it: Back, the page's way to the list, stays disabled until
// the batch has ended, also while its first sign-in keeps the page on screen.
TEST_F(UploadBatchTest, BackStaysDisabledFromOkUntilTheBatchHasEnded) {
  AddPhotos(2);
  bool backWhileRunning = false;
  RunBatch([&] { backWhileRunning |= dialog.uploadSession().running() && ::IsWindowEnabled(Item(ids::kBackButton)); });
  EXPECT_FALSE(backWhileRunning);
  EXPECT_TRUE(::IsWindowEnabled(Item(ids::kBackButton)));
}

// A report names its photo by slot and item: once the slot holds no longer that item, the
// window finds nothing to change.
TEST_F(UploadBatchTest, TheSnapshotNamesEachPhotoByAPlaceThatHoldsOnlyWhileItIsThere) {
  AddPhotos(3);
  dialog.photos().DetachUploaded(1);
  const BatchSnapshot batch = SnapshotOf(dialog.photos(), L"t", 2);
  ASSERT_EQ(batch.photos.size(), 2u);  // the empty slot is no photo
  EXPECT_EQ(batch.firstFileNumber, dialog.photos().NextFileNumber());
  const ListPlace first = batch.photos[0].place, third = batch.photos[1].place;
  EXPECT_EQ(PhotoAt(dialog.photos(), first), dialog.photos().SlotAt(0));
  EXPECT_EQ(third.slot, 2u);
  EXPECT_EQ(PhotoAt(dialog.photos(), {1, third.item}), nullptr);
  dialog.photos().DetachUploaded(0);
  EXPECT_EQ(PhotoAt(dialog.photos(), first), nullptr);
}

// Each turned photo the batch reaches takes the list's next working-copy number, in the list's
// order, even when the batch stops before sending it; later copies number on after them.
struct NumberingCase {
  const char* name;
  std::vector<size_t> turned;
  bool quotaForTheFirst;  // else roomy
  int32_t taken;
  std::vector<bool> written;  // for each number taken, whether its copy was written
};
class UploadNumberingTest : public UploadBatchTest, public ::testing::WithParamInterface<NumberingCase> {};
TEST_P(UploadNumberingTest, TurnedCopiesTakeTheListsNumbersAsTheBatchReachesThem) {
  const auto paths = AddPhotos(3);
  for (size_t slot : GetParam().turned) dialog.photos().SlotAt(slot)->TurnQuarter(true);
  if (GetParam().quotaForTheFirst) PutAccount(static_cast<long>(test::ReadBytes(paths[0]).size()));
  const int32_t first = dialog.photos().NextFileNumber();
  test::PromptRecorder prompts;
  RunBatch();
  EXPECT_EQ(dialog.photos().NextFileNumber(), first + GetParam().taken);
  for (int32_t i = 0; i < GetParam().taken; ++i) {
    const std::wstring copy = RotatedCopiesDirectory() + std::to_wstring(first + i) + L".jpg";
    EXPECT_EQ(test::FileExists(copy), GetParam().written[static_cast<size_t>(i)]) << i;
  }
}
INSTANTIATE_TEST_SUITE_P(Table, UploadNumberingTest,
                         ::testing::Values(NumberingCase{"FirstAndLastSent", {0, 2}, false, 2, {true, true}},
                                           NumberingCase{"QuotaStopsAtTheSecond", {1, 2}, true, 1, {false}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fernwick

namespace fernwick {
namespace {

// The server's faults on the second of three photos: which photos it stored (each once), which
// stay in the list, and what the user is told. The stall limit is cut to 2 s for the stall row.
struct FaultRow {
  const char* name;
  ServerFault fault;
  int count;                         // requests the fault applies to
  std::vector<std::string> stored;   // titles, in order
  std::vector<std::string> left;
  std::vector<std::wstring> messages;
};
class UploadFaultMatrixTest : public UploadBatchTest, public ::testing::WithParamInterface<FaultRow> {};
TEST_P(UploadFaultMatrixTest, EveryPhotoIsStoredAtMostOnceAndTheUserIsToldWhichStayed) {
  const FaultRow& row = GetParam();
  const TransferLimits before = CurrentTransferLimits();
  SetTransferLimits(TransferLimits{before.connectMs, 2000});
  AddPhotos(3);
  test::PromptRecorder prompts;
  bool armed = false;
  RunBatch([&] {
    // p1 has left the list; the worker waits for this loop before anything of p2.
    if (!armed && dialog.photos().SlotAt(0) == nullptr && Status() == L"发送图片'p1'") {
      Control(std::string("fault?kind=") + row.fault.kind + "&path=" + row.fault.path +
              "&value=" + std::to_string(row.fault.value) + "&count=" + std::to_string(row.count));
      armed = true;
    }
  });
  SetTransferLimits(before);
  EXPECT_TRUE(armed);
  std::vector<std::string> stored;
  for (const auto& photo : StoredPhotos(user)) stored.push_back(photo.title);
  EXPECT_EQ(stored, row.stored);
  EXPECT_EQ(ListTitles(), row.left);
  EXPECT_EQ(prompts.Texts(), row.messages);
}
const std::wstring kMaybeP2 = BatchSummaryText(2, {{MissReason::MaybeOnSite, L"p2"}});
INSTANTIATE_TEST_SUITE_P(
    Table, UploadFaultMatrixTest,
    ::testing::Values(
        FaultRow{"Busy503TwiceThenSuccess", {"status", "/upload/toolupload.aspx", 503}, 2, {"p1", "p2", "p3"}, {}, {}},
        FaultRow{"Busy503ThreeTimes",
                 {"status", "/upload/toolupload.aspx", 503},
                 3,
                 {"p1", "p3"},
                 {"p2"},
                 {BatchSummaryText(2, {{MissReason::Refused, L"p2"}})}},
        FaultRow{"Status500IsNotRetried",
                 {"status", "/upload/toolupload.aspx", 500},
                 1,
                 {"p1", "p3"},
                 {"p2"},
                 {BatchSummaryText(2, {{MissReason::Refused, L"p2"}})}},
        // The server stored p2 and then lost or spoiled its answer: not sent again.
        FaultRow{"DroppedBeforeTheReply", {"drop", "/upload/toolupload.aspx", 0}, 1, {"p1", "p3"}, {"p2"}, {kMaybeP2}},
        FaultRow{"TruncatedReply", {"truncate", "/upload/toolupload.aspx", 8}, 1, {"p1", "p2", "p3"}, {"p2"}, {kMaybeP2}},
        FaultRow{"GarbledReply", {"garble", "/upload/toolupload.aspx", 7}, 1, {"p1", "p2", "p3"}, {"p2"}, {kMaybeP2}},
        FaultRow{"StalledPastTheLimit", {"stall", "/upload/toolupload.aspx", 20000}, 1, {"p1", "p3"}, {"p2"}, {kMaybeP2}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fernwick
