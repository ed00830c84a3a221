#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/browser_integration.h"
#include "base/core/web_pages.h"
#include "base/handles.h"
#include "base/text_936.h"
#include "support/account_test_support.h"

namespace fernwick {
namespace {

using test::LaunchRecorder;

// Replaces the HTML handler's command for one test and puts the old one back.
class HandlerScope {
 public:
  HandlerScope() {
    ::RegCreateKeyExW(HKEY_CLASSES_ROOT, kHtmlHandlerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    DWORD size = 0;
    DWORD type = 0;
    if (::RegQueryValueExA(key_.get(), nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      old_.resize(size);
      oldType_ = type;
      ::RegQueryValueExA(key_.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old_.data()), &size);
      had_ = true;
    }
  }
  ~HandlerScope() {
    if (had_) {
      ::RegSetValueExA(key_.get(), nullptr, 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                       static_cast<DWORD>(old_.size()));
    } else {
      ::RegDeleteValueA(key_.get(), nullptr);
    }
  }
  void Set(const std::string& command, DWORD type = REG_SZ) {
    ::RegSetValueExA(key_.get(), nullptr, 0, type, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
  }
  void Remove() { ::RegDeleteValueA(key_.get(), nullptr); }

 private:
  UniqueHKey key_;
  bool had_ = false;
  DWORD oldType_ = REG_SZ;
  std::string old_;
};

struct OpenCase {
  const char* name;
  std::string handler;
  std::string url;
  std::vector<std::string> expected;  // command lines started
};

TEST(OpenUrlInBrowser, CommandLines) {
  const std::string longPath = "\"C:\\" + std::string(300, 'd') + "\\browser.exe\"";
  const std::vector<OpenCase> cases = {
      {"quoted path alone",
       "\"C:\\Program Files\\Web\\browser.exe\"",
       "http://dl.example/a",
       {"\"C:\\Program Files\\Web\\browser.exe\"http://dl.example/a"}},
      {"placeholder",
       "\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"",
       "https://dl.example/a?b=1",
       {"\"C:\\windows\\system32\\winebrowser.exe\" \"https://dl.example/a?b=1\""}},
      {"switch at the end", "\"C:\\b.exe\" -nohome", "http://x/", {"\"C:\\b.exe\" -nohome http://x/"}},
      {"handler longer than 256 bytes", longPath, "http://x/", {longPath + "http://x/"}},
      {"not a web address", "\"C:\\b.exe\" \"%1\"", "file:///C:/windows/notepad.exe", {}},
      {"quote in the address", "\"C:\\b.exe\" \"%1\"", "http://x/\" -evil", {}},
      {"blank in the address", "\"C:\\b.exe\" \"%1\"", "http://x/a b", {}},
      {"empty handler", "", "http://x/", {}},
      // Read as UTF-16 and kept as UTF-8 up to the start: any folder name survives.
      {"browser in a Chinese folder", "\"C:\\浏览器\\b.exe\" \"%1\"", "http://x/",
       {Utf8FromWide(L"\"C:\\浏览器\\b.exe\" \"http://x/\"")}},
  };
  HandlerScope handler;
  for (const OpenCase& c : cases) {
    handler.Set(c.handler);
    LaunchRecorder launches;
    const bool started = OpenUrlInBrowser(c.url);
    std::vector<std::string> seen;
    for (const auto& l : launches.seen) {
      EXPECT_EQ(l.kind, BrowserLaunchRequest::Kind::kCommandLine) << c.name;
      seen.push_back(l.text);
    }
    EXPECT_EQ(seen, c.expected) << c.name;
    EXPECT_EQ(started, !c.expected.empty()) << c.name;
  }
}

TEST(OpenUrlInBrowser, HandlerTooLongStartsNothing) {
  HandlerScope handler;
  handler.Set("\"C:\\" + std::string(40000, 'x') + "\\b.exe\"");
  LaunchRecorder launches;
  EXPECT_FALSE(OpenUrlInBrowser("http://x/"));
  EXPECT_TRUE(launches.seen.empty());
}

TEST(OpenUrlInBrowser, UnreadableHandlerStartsNothing) {
  HandlerScope handler;
  handler.Remove();
  LaunchRecorder launches;
  EXPECT_FALSE(OpenUrlInBrowser("http://x/"));
  EXPECT_TRUE(launches.seen.empty());
  // A handler that is not text is not run either.
  UniqueHKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlHandlerKey, 0, KEY_ALL_ACCESS, key.put()), ERROR_SUCCESS);
  const DWORD number = 7;
  ::RegSetValueExA(key.get(), nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  EXPECT_FALSE(OpenUrlInBrowser("http://x/"));
  EXPECT_TRUE(launches.seen.empty());
}

struct ValueSeen {
  DWORD type = 0;
  std::string data;
  bool present = false;
};

// The value is read back through the A functions: what a reader of the old entries gets.
ValueSeen ReadValue(const wchar_t* keyPath, const char* name) {
  ValueSeen seen;
  UniqueHKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return seen;
  char data[512] = {};
  DWORD size = sizeof(data);
  if (::RegQueryValueExA(key.get(), name, nullptr, &seen.type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
    return seen;
  }
  seen.present = true;
  seen.data.assign(data, size);
  return seen;
}

std::vector<std::string> MenuEntries() {
  std::vector<std::string> names;
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\MenuExt", 0, KEY_READ, key.put()) !=
      ERROR_SUCCESS) {
    return names;
  }
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof(name);
    if (::RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

TEST(RegisterBrowserMenuEntries, TwoEntriesWithTheSameValuesEveryTime) {
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kFeedMenuKey);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kBookmarkMenuKey);
  for (int run = 0; run < 2; ++run) {
    RegisterBrowserMenuEntries();
    const ValueSeen feed = ReadValue(kFeedMenuKey, nullptr);
    ASSERT_TRUE(feed.present) << run;
    EXPECT_EQ(feed.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(feed.data.c_str(), FeedSubscriptionPage());
    const ValueSeen contexts = ReadValue(kFeedMenuKey, "Contexts");
    ASSERT_TRUE(contexts.present);
    EXPECT_EQ(contexts.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(contexts.data, std::string("\xFF\0\0\0", 4));
    const ValueSeen bookmark = ReadValue(kBookmarkMenuKey, nullptr);
    ASSERT_TRUE(bookmark.present);
    EXPECT_EQ(bookmark.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bookmark.data.c_str(), BookmarkPostingPage());
    EXPECT_FALSE(ReadValue(kBookmarkMenuKey, "Contexts").present);
    const std::vector<std::string> entries = MenuEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "使用LumoraTidefeed订阅"), 1);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "添加到我的Lumora网摘"), 1);
  }
  EXPECT_EQ(FeedSubscriptionPage(), std::string(build::kWebBase) + "/sub.htm");
  EXPECT_EQ(BookmarkPostingPage(), std::string(build::kWebBase) + "/inc/PostPage.aspx");
}

}  // namespace
}  // namespace fernwick
