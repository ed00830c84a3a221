#pragma once
// The log's file on disk: where it lives, appending to it and turning it over.
#include <string>
#include <vector>

namespace fernwick {

inline constexpr wchar_t kLogFileName[] = L"fernwick.log";
inline constexpr wchar_t kRotatedLogFileName[] = L"fernwick.log.1";
inline constexpr wchar_t kLogFolderVariable[] = L"FERNWICK_LOG_DIR";

// FERNWICK_LOG_DIR when it is set, otherwise %LOCALAPPDATA%\Fernwick; empty when neither is
// known.
std::wstring DefaultLogFolder();

// Appends `lines` (each already ends with CR LF) to fernwick.log in `folder`, creating the
// folder when needed. Before a line that would carry the file past kLogRotationSize, the file
// becomes fernwick.log.1 (replacing the older one) and a new one is started. False when
// nothing could be written: the lines are then lost, never retried.
bool AppendLogLines(const std::wstring& folder, const std::vector<std::string>& lines);

}  // namespace fernwick
