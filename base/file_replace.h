#pragma once
// A small file of the program's own put in place whole or not at all: the new contents are
// written beside the old file and flushed to the disk first, and only then renamed over it, so
// that a full disk, a crash or a power cut while writing leaves the old file as it was. An old
// file another program holds for a moment is waited for, a few tenths of a second at most.
#include <string>
#include <string_view>

#include "base/log.h"

namespace fernwick {

// Writes `bytes` to "<path>.new", flushes it and moves it over `path`; true when done. On
// failure the new file is removed again, and the failed step's line (`notWritten` or
// `notRenamed`) goes to the log with the system's reason.
bool ReplaceFileContents(const std::wstring& path, std::string_view bytes, LogText notWritten, LogText notRenamed);

}  // namespace fernwick
