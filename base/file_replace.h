#pragma once
// A small file of the program's own put in place whole or not at all: the new contents are
// written beside the old file and flushed to the disk first, and only then renamed over it, so
// that a full disk, a crash or a power cut while writing leaves the old file as it was.
#include <string>
#include <string_view>

namespace fernwick {

enum class FileReplace { kDone, kNotWritten, kNotRenamed };

// Writes `bytes` to "<path>.new", flushes it and moves it over `path`. On failure the new file
// is removed again and GetLastError still tells the failed step's reason, for the caller's log.
FileReplace ReplaceFileContents(const std::wstring& path, std::string_view bytes);

}  // namespace fernwick
