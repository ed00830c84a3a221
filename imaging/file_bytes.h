#pragma once
// A picture file's bytes in memory, and a working copy's bytes to disk: libjpeg-turbo works on
// memory, not on files.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fernwick {

// Whether a file is read while another handle may be writing to it. A photo is read only when
// no one writes it; a file the program itself appends to (its journal) is read beside the
// writer, whose handle would otherwise keep the reader out, and the writer out after it.
enum class ReadBeside { kReadersOnly, kWriters };

// The whole file; none when it cannot be opened or read, or is larger than any photo the
// program takes (1 GB), so that a huge file is never read into memory for nothing. The bytes go
// into `memory` when it has the room (ReusedFileMemory).
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path,
                                                  ReadBeside beside = ReadBeside::kReadersOnly,
                                                  std::vector<uint8_t> memory = {});

// Writes the bytes as the whole file at `path`. A file left at this name by an earlier run or a
// failed write is replaced, and removed when the write fails, so that it never passes for ours.
bool WriteFileBytes(const std::wstring& path, std::span<const uint8_t> bytes);

}  // namespace fernwick
