#pragma once
// A picture file's bytes in memory, and a working copy's bytes to disk: libjpeg-turbo works on
// memory, not on files.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fernwick {

// The whole file; none when it cannot be opened or read, or is larger than any photo the
// program takes (1 GB), so that a huge file is never read into memory for nothing.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path);

// Writes the bytes as the whole file at `path`. A file left at this name by an earlier run or a
// failed write is replaced, and removed when the write fails, so that it never passes for ours.
bool WriteFileBytes(const std::wstring& path, std::span<const uint8_t> bytes);

}  // namespace fernwick
