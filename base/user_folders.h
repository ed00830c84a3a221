#pragma once
// The program's folders in the user's profile: "Fernwick" under the roaming application data
// (what follows the user from machine to machine: the settings file) and under the local
// application data (what belongs to this machine: the work directories, the log). A standard
// user can write both, unlike the Windows directory.
#include <string>

namespace fernwick {

enum class UserFolder { kRoaming, kLocal };

// Tests point both elsewhere with this variable: "<value>\Roaming\Fernwick" and
// "<value>\Local\Fernwick", so that test programs never share or leave state in the profile.
inline constexpr wchar_t kUserFolderVariable[] = L"FERNWICK_USER_DIR";

// The known folder itself ("...\AppData\Roaming" or "...\AppData\Local"), as Windows gives it;
// empty when it is not known. No override, nothing logged: the log finds its folder here too.
std::wstring KnownFolderPath(UserFolder which);

// "<known folder>\Fernwick" without a trailing backslash; nothing is created. Empty (and
// logged) when the known folder is not there.
std::wstring ProgramFolder(UserFolder which);

// ProgramFolder, created with any missing parents; empty (and logged) when that fails.
std::wstring CreateProgramFolder(UserFolder which);

}  // namespace fernwick
