#include "app/shell_handover.h"

#include <shellapi.h>

#include <memory>

namespace fernwick {

namespace {

// Marks our own hand-over among the WM_COPYDATA another program might send.
constexpr ULONG_PTR kHandedPaths = 0x46574B50;  // "FWKP"
// A window busy for longer than this (a modal loop that does not dispatch, say) is not waited
// for: the paths are lost rather than a second start that hangs before the user's eyes.
constexpr UINT kHandOverWaitMs = 5000;

struct ArgumentsFree {
  void operator()(LPWSTR* arguments) const noexcept { ::LocalFree(arguments); }
};

}  // namespace

std::vector<std::wstring> CommandLinePaths() {
  int count = 0;
  const std::unique_ptr<LPWSTR, ArgumentsFree> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::wstring> paths;
  if (!arguments) return paths;
  for (int i = 1; i < count; ++i) paths.emplace_back(arguments.get()[i]);
  return paths;
}

// The paths travel as one block of UTF-16, each ended by a zero.
bool HandPathsTo(HWND window, const std::vector<std::wstring>& paths) {
  std::wstring block;
  for (const std::wstring& path : paths) block.append(path).push_back(L'\0');
  COPYDATASTRUCT data{kHandedPaths, static_cast<DWORD>(block.size() * sizeof(wchar_t)), block.data()};
  DWORD_PTR taken = 0;
  return ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kHandOverWaitMs, &taken) != 0 &&
         taken == TRUE;
}

// The block comes from another process: its length is trusted only as far as it is whole
// characters, and a last path without its zero still counts.
std::optional<std::vector<std::wstring>> HandedPaths(const COPYDATASTRUCT& data) {
  if (data.dwData != kHandedPaths || (data.cbData != 0 && !data.lpData)) return std::nullopt;
  const std::wstring_view block(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  std::vector<std::wstring> paths;
  for (size_t start = 0; start < block.size();) {
    size_t end = block.find(L'\0', start);
    if (end == std::wstring_view::npos) end = block.size();
    if (end > start) paths.emplace_back(block.substr(start, end - start));
    start = end + 1;
  }
  return paths;
}

}  // namespace fernwick
