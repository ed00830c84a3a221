#pragma once
// The system's web browser: opening an address with the HTML handler, and the two entries
// the program adds to Internet Explorer's context menu.
#include <string>

namespace fernwick {

// Starts the HTML document handler with `url`. Only a plain http:// or https:// address is
// opened; nothing is started when the handler's command cannot be read or the command line
// would not fit. Returns whether a start was attempted and succeeded.
bool OpenUrlInBrowser(const std::string& url);

// Writes (again) the two context-menu entries under HKEY_CURRENT_USER; failures are silent and
// logged (docs/errors.md).
void RegisterBrowserMenuEntries();

// Where the two entries live (tests read them back).
inline constexpr wchar_t kFeedMenuKey[] = L"Software\\Microsoft\\Internet Explorer\\MenuExt\\使用LumoraTidefeed订阅";
inline constexpr wchar_t kBookmarkMenuKey[] = L"Software\\Microsoft\\Internet Explorer\\MenuExt\\添加到我的Lumora网摘";
inline constexpr wchar_t kHtmlHandlerKey[] = L"htmlfile\\shell\\open\\command";

}  // namespace fernwick
