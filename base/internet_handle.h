#pragma once
// Move-only owner of a WinINet handle (session, connection or request).
#include <windows.h>
#include <wininet.h>

#include "base/handles.h"

namespace fernwick {

struct InternetHandleTraits {
  using pointer = HINTERNET;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer h) noexcept { ::InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueResource<InternetHandleTraits>;

}  // namespace fernwick
