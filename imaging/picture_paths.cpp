#include "imaging/picture_paths.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "base/handles.h"
#include "imaging/core/path_rules.h"

namespace fernwick {

namespace {

// Name order as Explorer's name column sorts by default: without regard to case, the same on
// every system language.
bool NameBefore(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_LESS_THAN;
}

constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// One folder's pictures go to `pictures`; its subfolders, in name order, to `subfolders`.
void ReadFolder(const std::wstring& folder, std::vector<std::wstring>& pictures,
                std::vector<std::wstring>& subfolders) {
  WIN32_FIND_DATAW found{};
  const UniqueFind find(::FindFirstFileExW(JoinDirectoryAndName(folder, L"*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return;
  std::vector<std::wstring> files;
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L".." || (found.dwFileAttributes & kSkipped)) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) subfolders.emplace_back(name);
    } else if (IsOpenDialogExtension(LowerCaseAscii(ExtensionOf(name)))) {
      files.emplace_back(name);
    }
  } while (::FindNextFileW(find.get(), &found));
  std::sort(files.begin(), files.end(), NameBefore);
  std::sort(subfolders.begin(), subfolders.end(), NameBefore);
  for (const std::wstring& file : files) pictures.push_back(JoinDirectoryAndName(folder, file));
  for (std::wstring& subfolder : subfolders) subfolder = JoinDirectoryAndName(folder, subfolder);
}

// Depth first, with a stack of its own: a deep tree costs memory, not the thread's stack.
void WalkFolder(const std::wstring& top, std::vector<std::wstring>& pictures) {
  std::vector<std::wstring> pending{top};
  std::vector<std::wstring> subfolders;
  while (!pending.empty()) {
    const std::wstring folder = std::move(pending.back());
    pending.pop_back();
    subfolders.clear();
    ReadFolder(folder, pictures, subfolders);
    pending.insert(pending.end(), std::make_move_iterator(subfolders.rbegin()),
                   std::make_move_iterator(subfolders.rend()));
  }
}

}  // namespace

std::vector<std::wstring> PicturesInPaths(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> pictures;
  for (const std::wstring& path : paths) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      WalkFolder(path, pictures);
    } else if (IsDropExtension(LowerCaseAscii(ExtensionOf(path)))) {
      pictures.push_back(path);
    }
  }
  return pictures;
}

}  // namespace fernwick
