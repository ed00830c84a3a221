#include "support/shell_drop.h"

#include <shlobj.h>

#include <cstring>

namespace fernwick::test {

HDROP MakeDrop(const std::vector<std::wstring>& names) {
  std::wstring list;
  for (const std::wstring& n : names) {
    list += n;
    list.push_back(L'\0');
  }
  list.push_back(L'\0');
  const std::size_t bytes = list.size() * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), bytes);
  ::GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace fernwick::test
