#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/core/browser_command.h"

namespace fernwick {
namespace {

struct CommandCase {
  const char* name;
  std::string handler;
  std::string address;
  std::optional<std::string> expected;
};

TEST(BrowserCommandLine, Rules) {
  const std::vector<CommandCase> cases = {
      {"quoted path alone: address right after", "\"C:\\Program Files\\IE\\iexplore.exe\"", "http://a/b",
       "\"C:\\Program Files\\IE\\iexplore.exe\"http://a/b"},
      {"placeholder replaced", "\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"", "http://a/b",
       "\"C:\\windows\\system32\\winebrowser.exe\" \"http://a/b\""},
      {"placeholder unquoted", "browser.exe -url %1 -new", "https://x", "browser.exe -url https://x -new"},
      {"every placeholder", "b.exe %1 %1", "http://q", "b.exe http://q http://q"},
      {"ends in dash switch", "\"C:\\b.exe\" -nohome", "http://q", "\"C:\\b.exe\" -nohome http://q"},
      {"ends in slash switch", "C:\\b.exe /url", "http://q", "C:\\b.exe /url http://q"},
      {"quoted path with blanks only", "\"C:\\A B\\-x.exe\"", "http://q", "\"C:\\A B\\-x.exe\"http://q"},
      {"empty handler", "", "http://q", std::nullopt},
  };
  for (const CommandCase& c : cases) EXPECT_EQ(BuildBrowserCommandLine(c.handler, c.address), c.expected) << c.name;
}

TEST(BrowserCommandLine, TooLongIsRefusedNotCut) {
  const std::string handler = "\"" + std::string(kMaxCommandLine - 10, 'p') + "\"";
  EXPECT_EQ(BuildBrowserCommandLine(handler, "http://x"), "\"" + std::string(kMaxCommandLine - 10, 'p') + "\"http://x");
  EXPECT_EQ(BuildBrowserCommandLine(handler, "http://example.com/"), std::nullopt);
  EXPECT_EQ(BuildBrowserCommandLine(std::string(kMaxCommandLine, 'p') + "%1", "http://x"), std::nullopt);
  // Longer than the 256 bytes of old fixed buffers is fine as long as it fits.
  const std::string longHandler = "\"C:\\" + std::string(300, 'd') + "\\b.exe\"";
  EXPECT_EQ(BuildBrowserCommandLine(longHandler, "http://x")->size(), longHandler.size() + 8);
}

struct AddressCase {
  std::string address;
  bool plain;
};

TEST(PlainWebAddress, Rules) {
  const std::vector<AddressCase> cases = {
      {"http://example.com/download", true},
      {"https://example.com/a?b=c&d=e", true},
      {"HTTP://EXAMPLE.COM/", true},
      {"http://", false},
      {"", false},
      {"ftp://example.com/", false},
      {"file:///C:/windows/notepad.exe", false},
      {"example.com", false},
      {"http://a b", false},
      {"http://a\"&calc", false},
      {"http://a'b", false},
      {"http://a\tb", false},
      {"http://a\r\nb", false},
      {"http://a\x7f", false},
      {" http://a", false},
      {"http://中文.example/", true},
  };
  for (const AddressCase& c : cases) EXPECT_EQ(IsPlainWebAddress(c.address), c.plain) << "'" << c.address << "'";
}

}  // namespace
}  // namespace fernwick
