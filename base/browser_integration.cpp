#include "base/browser_integration.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/browser_launch.h"
#include "base/core/browser_command.h"
#include "base/core/web_pages.h"
#include "base/handles.h"
#include "base/log.h"
#include "base/text_936.h"

namespace fernwick {

namespace {

// The first value of the handler's key (normally its default value) as UTF-8, or nothing when
// it cannot be read whole. Read through the wide functions, so that a browser in a folder whose
// name the system's code page cannot hold still starts. The key is only read, so read access is
// all that is asked for. It is opened straight from the predefined root: opening the root itself
// gives back the predefined handle, which is the system's and must not be closed.
std::optional<std::string> ReadHtmlHandlerCommand() {
  UniqueHKey command;
  if (const LSTATUS opened = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, kHtmlHandlerKey, 0, KEY_READ, command.put());
      opened != ERROR_SUCCESS) {
    LogSystemFailure("browser: the HTML handler's key cannot be opened", static_cast<unsigned long>(opened));
    return std::nullopt;
  }
  DWORD maxData = 0;
  DWORD maxName = 0;
  if (const LSTATUS queried = ::RegQueryInfoKeyW(command.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                 nullptr, &maxName, &maxData, nullptr, nullptr);
      queried != ERROR_SUCCESS) {
    LogSystemFailure("browser: the HTML handler's key cannot be queried", static_cast<unsigned long>(queried));
    return std::nullopt;
  }
  if (maxData > (kMaxCommandLine + 1) * sizeof(wchar_t)) {
    LogFailure("browser: the HTML handler's command is too long");
    return std::nullopt;
  }
  std::vector<wchar_t> name(maxName + 2);
  std::vector<wchar_t> data(maxData / sizeof(wchar_t) + 2);
  DWORD nameLength = static_cast<DWORD>(name.size());
  DWORD dataLength = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  DWORD type = 0;
  if (const LSTATUS read = ::RegEnumValueW(command.get(), 0, name.data(), &nameLength, nullptr, &type,
                                           reinterpret_cast<BYTE*>(data.data()), &dataLength);
      read != ERROR_SUCCESS) {
    LogSystemFailure("browser: the HTML handler's command cannot be read", static_cast<unsigned long>(read));
    return std::nullopt;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    LogFailure("browser: the HTML handler's command is not a text");
    return std::nullopt;
  }
  std::wstring text(data.data(), dataLength / sizeof(wchar_t));
  if (const std::size_t zero = text.find(L'\0'); zero != std::wstring::npos) text.resize(zero);
  return Utf8FromWide(text);
}

// `text` is a plain web address; the value holds it as UTF-16.
void WriteStringValue(HKEY key, const wchar_t* name, const std::string& text) {
  const std::wstring value = WideFromUtf8(text);
  // Written with the length of the text, without its terminating zero.
  if (const LSTATUS written = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                                               static_cast<DWORD>(value.size() * sizeof(wchar_t)));
      written != ERROR_SUCCESS) {
    LogSystemFailure("browser: a context-menu entry cannot be written", static_cast<unsigned long>(written));
  }
}

UniqueHKey OpenOrCreateUserKey(const wchar_t* path) {
  UniqueHKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) return key;
  const LSTATUS created = ::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, key.put(), nullptr);
  if (created == ERROR_SUCCESS) return key;
  LogSystemFailure("browser: a context-menu key cannot be created", static_cast<unsigned long>(created));
  return UniqueHKey();
}

}  // namespace

bool OpenUrlInBrowser(const std::string& url) {
  if (!IsPlainWebAddress(url)) {
    LogFailure("browser: an address that is not a plain web address is not opened");
    return false;
  }
  const std::optional<std::string> handler = ReadHtmlHandlerCommand();
  if (!handler) return false;
  const std::optional<std::string> commandLine = BuildBrowserCommandLine(*handler, url);
  if (!commandLine) {
    LogFailure("browser: the handler's command line would be too long");
    return false;
  }
  return RunCommandLine(*commandLine);
}

void RegisterBrowserMenuEntries() {
  if (UniqueHKey feed = OpenOrCreateUserKey(kFeedMenuKey)) {
    WriteStringValue(feed.get(), nullptr, FeedSubscriptionPage());
    const DWORD everyContext = 0xFF;
    if (const LSTATUS written = ::RegSetValueExW(feed.get(), L"Contexts", 0, REG_DWORD,
                                                 reinterpret_cast<const BYTE*>(&everyContext), sizeof(everyContext));
        written != ERROR_SUCCESS) {
      LogSystemFailure("browser: a context-menu entry cannot be written", static_cast<unsigned long>(written));
    }
  }
  if (UniqueHKey bookmark = OpenOrCreateUserKey(kBookmarkMenuKey)) {
    WriteStringValue(bookmark.get(), nullptr, BookmarkPostingPage());
  }
}

}  // namespace fernwick
