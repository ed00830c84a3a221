// The real fernwick.exe under Wine against the reference server's faults, one row each: which
// photos the server stored (each once), which stayed in the list, what the user was told, and
// how long Cancel or a close took. The program runs with shortened limits (3 s to connect, 4 s
// of no movement), so a stall is found in seconds. Prints one line per row.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounts/core/account_texts.h"
#include "accounts/settings_file.h"
#include "app/progress_page.h"
#include "build_config.h"
#include "e2e/program_driver.h"
#include "imaging/file_bytes.h"
#include "reference_server.h"
#include "res/main_window_ids.h"
#include "service/core/transfer_limits.h"
#include "service/service_client.h"
#include "stored_photos.h"
#include "imaging/jpeg_codec.h"
#include "support/photo_test_pictures.h"
#include "support/test_files.h"
#include "support/window_helpers.h"
#include "upload/batch_journal_file.h"
#include "upload/core/resume_question.h"
#include "upload/core/retry_rules.h"

namespace fernwick {
namespace {

using test::Control;
using test::ProgramDriver;
using test::WaitUntil;

using ids::kBackButton;
using ids::kOkButton;
using ids::kQuotaLine;
using ids::kUploadButton;
constexpr int kCancelButton = ProgressPage::kCancelButton;
constexpr char kUpload[] = "/upload/toolupload.aspx";
constexpr long kRoomyQuota = 50L * 1024 * 1024;

// A row's run of the program, and what the row's steps may do to it.
struct BatchRun {
  std::unique_ptr<ProgramDriver> program;
  std::string user;
  std::vector<long> sizes;  // of p1 and p2
  long tookMs = -1;         // Cancel or close: from the press to the done page or the exit
  bool closed = false;
};

void Arm(const std::string& kind, const char* path, long value, int count = 1) {
  Control("fault?kind=" + kind + "&path=" + test::Escape(path) + "&value=" + std::to_string(value) +
          "&count=" + std::to_string(count));
}
void PutAccount(const std::string& user, long quota) {
  test::PutAccount(user, "pw", quota, "e2e");
}
bool ServerAnswers() {
  const std::string count = Control("count");
  return !count.empty() && count.find_first_not_of("0123456789") == std::string::npos;
}
bool Sending(BatchRun& run, const wchar_t* title) {
  return WaitUntil([&] { return run.program->ProgressStatus() == std::wstring(L"发送图片'") + title + L"'"; });
}

enum class Photo { Small, Large };

// Noise does not compress: over a megabyte, more than the socket's buffers hold while the
// server reads nothing, so a fault finds it still on its way.
std::vector<uint8_t> LargePhoto() {
  PixelBuffer noise = PixelBuffer::Blank(1000, 800, 3);
  uint32_t state = 7;
  for (uint8_t& byte : noise.pixels) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(state >> 16);
  }
  return EncodeJpeg(noise, {}).value_or(std::vector<uint8_t>{});
}

struct FaultRow {
  const char* name;
  Photo first;                         // a large first photo is still on its way when a fault hits
  std::function<void(BatchRun&)> beforeOk;  // arms the server
  std::function<void(BatchRun&)> during;    // after OK: what happens while the batch runs
  std::vector<std::string> stored;     // titles, in order
  std::vector<std::string> left;       // titles that stay in the list (checked by a second batch)
  // What the user was told, in order; without it, anything but a lost connection.
  std::function<std::vector<std::wstring>(const BatchRun&)> told;
  // The other outcome a reset may have: when the whole body had gone into the connection's
  // buffers before the reset came, the program cannot know the photo did not arrive.
  bool mayHaveGoneWhole = false;
  // After the close, the program is started again and its questions answered with their
  // defaults; `told` lists them.
  bool restart = false;
};

std::vector<std::wstring> Nothing(const BatchRun&) { return {}; }
auto Saying(std::vector<std::wstring> texts) {
  return [texts](const BatchRun&) { return texts; };
}
std::wstring Summary(int arrived, MissReason reason) { return BatchSummaryText(arrived, {{reason, L"p1"}}); }

void CancelOnceSendingWithin(BatchRun& run, DWORD doneWithinMs) {
  ASSERT_TRUE(Sending(run, L"p1"));
  ::Sleep(1000);  // well into the stall
  const ULONGLONG pressed = ::GetTickCount64();
  ProgramDriver::Press(::GetDlgItem(run.program->ProgressPage(), kCancelButton));
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(run.program->DonePage()); }, doneWithinMs));
  run.tookMs = static_cast<long>(::GetTickCount64() - pressed);
}
void CancelOnceSending(BatchRun& run) { CancelOnceSendingWithin(run, 10000); }

// Yes to the question the close asks while photos are in the list. The time is counted from
// when the program has the answer (the question has gone; Wine's message box itself takes a
// while to act on the click) to when the window is gone from the screen.
void CloseOnceSending(BatchRun& run) {
  ASSERT_TRUE(Sending(run, L"p1"));
  ::Sleep(300);  // the answer must reach the program before the stall limit does
  ProgramDriver& program = *run.program;
  ::PostMessageA(program.main(), WM_CLOSE, 0, 0);
  HWND prompt = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (prompt = program.Prompt()) != nullptr; }, 10000));
  ProgramDriver::Press(::GetDlgItem(prompt, IDYES));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(prompt); }, 10000));
  const ULONGLONG answered = ::GetTickCount64();
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(program.main()); }, 10000));
  run.tookMs = static_cast<long>(::GetTickCount64() - answered);
  run.closed = true;
  EXPECT_EQ(program.Close(), 1u) << "the program ends after its window";
}

// Closes the window once the server has stored p1 and holds its answer.
void CloseOnceStored(BatchRun& run) {
  ASSERT_TRUE(WaitUntil([&] { return test::StoredPhotos(run.user).size() == 1; }));
  CloseOnceSending(run);
}

// Cancel while the token request before p2 waits: p1's answer is held long enough to arm it.
void CancelDuringTheToken(BatchRun& run) {
  ASSERT_TRUE(Sending(run, L"p1"));
  Arm("delay", "/upload/auth.aspx", 5000);
  ASSERT_TRUE(WaitUntil([&] { return test::StoredPhotos(run.user).size() == 1; }));
  ::Sleep(1500 + 1000);  // p1's answer, then well into the token request
  ProgramDriver::Press(::GetDlgItem(run.program->ProgressPage(), kCancelButton));
}

const std::vector<FaultRow>& Rows() {
  static const std::vector<FaultRow> rows = {
      {"connection refused at the start",
       Photo::Small,
       [](BatchRun&) { Control("pause?ms=2500"); },
       {},
       {},
       {"p1", "p2"},
       Saying({L"不能连接服务器,请检查网络."})},
      {"server stopped and started again mid-batch",
       Photo::Small,
       [](BatchRun&) { Arm("delay", kUpload, 1000); },
       [](BatchRun& run) {
         ASSERT_TRUE(Sending(run, L"p1"));
         Control("pause?ms=2500");
       },
       {"p1", "p2"},
       {},
       Nothing},
      {"dropped before the reply",
       Photo::Small,
       [](BatchRun&) { Arm("drop", kUpload, 0); },
       {},
       {"p2"},
       {"p1"},
       Saying({Summary(1, MissReason::MaybeOnSite)})},
      {"reset while the body is sent",
       Photo::Large,
       [](BatchRun&) { Arm("reset", kUpload, 0); },
       {},
       {"p1", "p2"},
       {},
       Nothing,
       true},
      {"503 twice, then success",
       Photo::Small,
       [](BatchRun&) { Arm("status", kUpload, 503, 2); },
       {},
       {"p1", "p2"},
       {},
       Nothing},
      {"500",
       Photo::Small,
       [](BatchRun&) { Arm("status", kUpload, 500); },
       {},
       {"p2"},
       {"p1"},
       Saying({Summary(1, MissReason::Refused)})},
      // Even a large photo has all gone into the connection's buffers on loopback when the server
      // stops reading, so the program cannot know that nothing arrived: it may be on the site.
      {"stall of 120 s, Cancel",
       Photo::Large,
       [](BatchRun&) { Arm("stall", kUpload, 120000); },
       CancelOnceSending,
       {},
       {"p1", "p2"},
       Saying({Summary(0, MissReason::MaybeOnSite)})},
      {"stall of 120 s, no Cancel",
       Photo::Large,
       [](BatchRun&) { Arm("stall", kUpload, 120000); },
       {},
       {"p2"},
       {"p1"},
       Saying({Summary(1, MissReason::MaybeOnSite)})},
      {"stall of 120 s, window closed",
       Photo::Large,
       [](BatchRun&) { Arm("stall", kUpload, 120000); },
       CloseOnceSending,
       {},
       {},
       Nothing},
      {"truncated reply",
       Photo::Small,
       [](BatchRun&) { Arm("truncate", kUpload, 9); },
       {},
       {"p1", "p2"},
       {"p1"},
       Saying({Summary(1, MissReason::MaybeOnSite)})},
      {"garbled reply",
       Photo::Small,
       [](BatchRun&) { Arm("garble", kUpload, 7); },
       {},
       {"p1", "p2"},
       {"p1"},
       Saying({Summary(1, MissReason::MaybeOnSite)})},
      {"\"0k\" mid-batch",
       Photo::Small,
       [](BatchRun&) { Arm("delay", kUpload, 800); },
       [](BatchRun& run) {
         ASSERT_TRUE(Sending(run, L"p1"));
         Arm("zerok", "/upload/auth.aspx", 0);
       },
       {"p1"},
       {"p2"},
       Nothing},
      {"quota used up mid-batch",
       Photo::Small,
       [](BatchRun& run) { PutAccount(run.user, run.sizes[0] + run.sizes[1] - 1); },
       {},
       {"p1"},
       {"p2"},
       Saying({L"你的空间已经不够,请购买空间。"})},
      // p1 is stored, its answer held; the close leaves it in doubt and p2 not sent. Started
      // again, the defaults put back only p2.
      {"answer held, window closed, started again", Photo::Small, [](BatchRun&) { Arm("delay", kUpload, 120000); },
       CloseOnceStored, {"p1", "p2"}, {"p2"}, Saying({ResumeQuestionText({1, 1, {}, 1, 1}), ResumeUnsureQuestionText(1)}),
       false, true},
      {"502 after the body", Photo::Small, [](BatchRun&) { Arm("status", kUpload, 502); }, {}, {"p2"}, {"p1"},
       Saying({Summary(1, MissReason::MaybeOnSite)})},
      {"504 after the body", Photo::Small, [](BatchRun&) { Arm("status", kUpload, 504); }, {}, {"p2"}, {"p1"},
       Saying({Summary(1, MissReason::MaybeOnSite)})},
      {"Cancel during a token request", Photo::Small, [](BatchRun&) { Arm("delay", kUpload, 1500); },
       CancelDuringTheToken, {"p1"}, {"p2"}, Nothing},
  };
  return rows;
}

class ProgramFaults : public ::testing::TestWithParam<size_t> {
 protected:
  void SetUp() override {
    ASSERT_EQ(test::ReferenceServerPort(), build::kServerPort) << "no server on the program's port";
    ::SetEnvironmentVariableA(kTransferLimitsVariable, "3000,4000");  // the program inherits it
    ASSERT_TRUE(WaitUntil(ServerAnswers, 10000));
    ASSERT_EQ(Control("clear"), "cleared\n");
    folder_ = test::FreshDirectory(L"e2e_faults");
  }
  void TearDown() override {
    WaitUntil(ServerAnswers, 10000);
    Control("clear");
    if (run_.program && run_.program->started() && ::IsWindow(run_.program->main())) run_.program->Close();
    run_.program.reset();
    ::DeleteFileW(SettingsFilePath().c_str());
  }

  // A fresh account, the program signed in to it, p1 and p2 in its list.
  void Start(Photo first) {
    static int serial = 0;
    run_.user = "faults" + std::to_string(::GetTickCount64()) + "_" + std::to_string(++serial);
    PutAccount(run_.user, kRoomyQuota);
    ASSERT_TRUE(test::SaveSignedInAccount(run_.user));
    RemoveBatchJournal();  // a batch an earlier row closed would be offered back at this start
    run_.program = std::make_unique<ProgramDriver>();
    ASSERT_TRUE(run_.program->started());
    ASSERT_TRUE(WaitUntil([&] { return !test::WindowText(run_.program->Item(kQuotaLine)).empty(); }));
    for (int i = 1; i <= 2; ++i) {
      const std::wstring path = folder_ + L"p" + std::to_wstring(i) + L".jpg";
      if (i == 1 && first == Photo::Large) {
        ASSERT_TRUE(WriteFileBytes(path, LargePhoto()));
      } else {
        ASSERT_TRUE(test::WriteQuadrantPicture(path, 200, 150, "jpg"));
      }
      run_.sizes.push_back(static_cast<long>(test::ReadBytes(path).size()));
      ASSERT_TRUE(run_.program->AddThroughOpenDialog(path)) << path;
    }
  }

  // build/windows/e2e-screenshots/summary-Row-N.png: the batch summary of row N, to look at.
  static void ShotOfSummary(HWND prompt) {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    const std::wstring folder = L"" FERNWICK_E2E_SCREENSHOT_DIR;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WaitUntil([&] { return !::GetUpdateRect(prompt, nullptr, FALSE); }, 2000);
    EXPECT_TRUE(test::SaveScreenshot(prompt, folder + L"/summary-" + std::wstring(name.begin(), name.end()) + L".png"));
  }

  // Answers every message until the batch has ended (the done page, or the photo-settings
  // page again after a message), OK enabled again and no message left; their texts in order.
  std::vector<std::wstring> FinishBatch() {
    std::vector<std::wstring> told;
    ProgramDriver& program = *run_.program;
    const bool ended = WaitUntil(
        [&] {
          if (HWND prompt = program.Prompt()) {
            told.push_back(ProgramDriver::PromptText(prompt));
            if (told.back().find(L'\n') != std::wstring::npos) ShotOfSummary(prompt);
            ProgramDriver::Press(::GetDlgItem(prompt, IDOK));
            WaitUntil([&] { return !::IsWindow(prompt); }, 5000);
            return false;
          }
          return (ProgramDriver::Shown(program.DonePage()) || !told.empty()) &&
                 ::IsWindowEnabled(program.Item(kOkButton)) && !program.Prompt();
        },
        60000);
    EXPECT_TRUE(ended) << "the batch did not end";
    return told;
  }

  // Starts the program again on the batch the close left, and answers each question with its
  // default button; their texts. The second question's default is No.
  std::vector<std::wstring> RestartWithDefaults() {
    run_.program = std::make_unique<ProgramDriver>();
    ProgramDriver& program = *run_.program;
    EXPECT_TRUE(program.started());
    std::vector<std::wstring> told;
    HWND prompt = nullptr;
    while (told.size() < 4 && WaitUntil([&] { return (prompt = program.Prompt()) != nullptr; }, 5000)) {
      told.push_back(ProgramDriver::PromptText(prompt));
      int button = IDOK;  // the default push button, or OK
      for (const int id : {IDYES, IDNO}) {
        HWND item = ::GetDlgItem(prompt, id);
        if (item && (::GetWindowLongW(item, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON) button = id;
      }
      if (told.back() == ResumeUnsureQuestionText(1)) {
        EXPECT_EQ(button, IDNO);
      }
      ProgramDriver::Press(::GetDlgItem(prompt, button));
      WaitUntil([&] { return !::IsWindow(prompt); }, 5000);
    }
    // The photos put back are added in the background: in once the adding line has gone.
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(program.main(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(program.Item(ids::kAddingStop)); }));
    return told;
  }

  // Sends what is left in the list, with no fault armed; the titles the server stored for it.
  std::vector<std::string> SendWhatIsLeft() {
    ProgramDriver& program = *run_.program;
    PutAccount(run_.user, kRoomyQuota);
    const size_t before = test::StoredPhotos(run_.user).size();
    if (ProgramDriver::Shown(program.DonePage())) {
      ProgramDriver::Press(::GetDlgItem(program.DonePage(), kBackButton));
      EXPECT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program.Item(kUploadButton)); }));
    }
    if (!ProgramDriver::Shown(program.SettingsPage())) {
      program.Press(kUploadButton);
      // An empty list says so instead of showing the page.
      HWND prompt = nullptr;
      EXPECT_TRUE(WaitUntil([&] {
        prompt = program.Prompt();
        return prompt || ProgramDriver::Shown(program.SettingsPage());
      }));
      if (prompt) {
        const std::wstring text = program.AnswerPrompt();
        if (text == L"你尚未加入图片") return {};
        // A photo that may have arrived is asked about before it goes again: Yes, it goes.
        EXPECT_NE(text.find(L"张图片已经上传过。仍然上传这些图片吗？"), std::wstring::npos);
        EXPECT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(program.SettingsPage()); }));
      }
    }
    program.Press(kOkButton);
    EXPECT_TRUE(FinishBatch().empty());
    std::vector<std::string> titles;
    const auto stored = test::StoredPhotos(run_.user);
    for (size_t i = before; i < stored.size(); ++i) titles.push_back(stored[i].title);
    return titles;
  }

  BatchRun run_;
  std::wstring folder_;
};

// For the printed table: UTF-8, one line.
std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                           static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<size_t>(std::max(length, 0)));
  for (char& c : out) c = c == '\n' ? ' ' : c;
  return out;
}

std::string Joined(const std::vector<std::string>& titles) {
  std::string text;
  for (const auto& title : titles) text += (text.empty() ? "" : ",") + title;
  return text.empty() ? "-" : text;
}

TEST_P(ProgramFaults, Row) {
  const FaultRow& row = Rows()[GetParam()];
  ASSERT_NO_FATAL_FAILURE(Start(row.first));
  if (row.beforeOk) row.beforeOk(run_);
  run_.program->Press(kUploadButton);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(run_.program->SettingsPage()); }));
  const ULONGLONG began = ::GetTickCount64();
  run_.program->Press(kOkButton);
  if (row.during) {
    ASSERT_NO_FATAL_FAILURE(row.during(run_));
  }
  std::vector<std::wstring> told = run_.closed ? std::vector<std::wstring>{} : FinishBatch();
  const long batchMs = static_cast<long>(::GetTickCount64() - began);
  // A batch cut off by a close is kept for the next start.
  EXPECT_TRUE(WaitUntil([&] { return (ReadBatchJournal().kind == FoundJournal::Kind::Read) == run_.closed; }));
  ASSERT_TRUE(WaitUntil(ServerAnswers, 10000));
  std::vector<std::string> left;
  if (row.restart) {
    Control("clear");
    told = RestartWithDefaults();
    left = SendWhatIsLeft();
    run_.closed = false;
  }

  std::vector<std::string> stored;
  for (const auto& photo : test::StoredPhotos(run_.user)) stored.push_back(photo.title);
  // Retried and stored once, or (its body all gone) not stored and said to be maybe on the site.
  const bool wentWhole = row.mayHaveGoneWhole && stored == std::vector<std::string>{"p2"};
  EXPECT_EQ(stored, wentWhole ? stored : row.stored) << "each photo stored once, and only these";
  if (wentWhole) {
    EXPECT_EQ(told, std::vector<std::wstring>{Summary(1, MissReason::MaybeOnSite)});
  } else if (row.told) {
    EXPECT_EQ(told, row.told(run_));
  } else {
    for (const std::wstring& text : told) EXPECT_NE(text, kNoConnectionText);
  }
  if (run_.tookMs >= 0) {
    EXPECT_LT(run_.tookMs, 5000) << (run_.closed ? "close" : "Cancel");
  }
  if (!run_.closed) {
    if (!row.restart) {
      Control("clear");
      left = SendWhatIsLeft();
    }
    EXPECT_EQ(left, wentWhole ? std::vector<std::string>{"p1"} : row.left) << "what stayed in the list";
  }
  std::string said;
  for (const auto& text : told) said += (said.empty() ? "" : " / ") + Utf8(text);
  const std::string name = std::string(row.name) +
                           (row.first == Photo::Large ? " (p1 " + std::to_string(run_.sizes[0] / 1024) + " KB)" : "");
  std::printf("| %s | stored %s | left %s | told: %s | %s |\n", name.c_str(), Joined(stored).c_str(),
              run_.closed ? "(program closed)" : Joined(left).c_str(), said.empty() ? "nothing" : said.c_str(),
              run_.tookMs >= 0 ? ((run_.closed ? "close " : "Cancel ") + std::to_string(run_.tookMs) + " ms").c_str()
                               : ("batch " + std::to_string(batchMs) + " ms").c_str());
  std::fflush(stdout);
}

INSTANTIATE_TEST_SUITE_P(Matrix, ProgramFaults, ::testing::Range<size_t>(0, Rows().size()));

// Owns Cancel's grace over a real connection (the levels are listed at ProgressPageTest's Cancel
// test). Cancel lets the photo in flight finish (the server reads it slowly, and it is done some
// seconds after Cancel), and cuts it off once nothing has moved for the grace (the server stops
// reading). On loopback the connection's buffers take the whole body at once, so the program
// sees the slow photo move only at its start: it must come through within the grace. The stall
// limit is put out of the way.
class ProgramCancel : public ProgramFaults {};
TEST_P(ProgramCancel, LetsThePhotoInFlightFinishWhileItMoves) {
  const bool moving = GetParam() == 0;
  ::SetEnvironmentVariableA(kTransferLimitsVariable, "3000,30000");
  ASSERT_NO_FATAL_FAILURE(Start(Photo::Large));
  // The crawl takes p1 (some 650 KB) about 3 s, most of it after the Cancel.
  Arm(moving ? "crawl" : "stall", kUpload, moving ? 12288 : 120000);
  run_.program->Press(kUploadButton);
  ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::Shown(run_.program->SettingsPage()); }));
  run_.program->Press(kOkButton);
  ASSERT_NO_FATAL_FAILURE(CancelOnceSendingWithin(run_, 30000));
  for (const std::wstring& text : FinishBatch()) EXPECT_NE(text, kNoConnectionText);
  std::vector<std::string> stored;
  for (const auto& photo : test::StoredPhotos(run_.user)) stored.push_back(photo.title);
  EXPECT_EQ(stored, moving ? std::vector<std::string>{"p1"} : std::vector<std::string>{});
  Control("clear");
  const std::vector<std::string> left = SendWhatIsLeft();
  EXPECT_EQ(left, moving ? std::vector<std::string>({"p2"}) : std::vector<std::string>({"p1", "p2"}));
  std::printf("| Cancel, %s (p1 %ld KB) | stored %s | Cancel %ld ms |\n", moving ? "moving" : "stalled",
              run_.sizes[0] / 1024, Joined(stored).c_str(), run_.tookMs);
  std::fflush(stdout);
}
INSTANTIATE_TEST_SUITE_P(Grace, ProgramCancel, ::testing::Range<size_t>(0, 2));

}  // namespace
}  // namespace fernwick
