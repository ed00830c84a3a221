#pragma once
// The journal's form of the user's texts (tags, file paths): UTF-8, stretched to carry what
// UTF-16 on Windows may hold and UTF-8 cannot, a surrogate without its pair (a file name may
// have one). Such a surrogate is written as its own three-byte sequence, as WTF-8 does, so a
// path reads back to the very file it named; every other text is plain UTF-8, and so is every
// journal written before.
#include <string>
#include <string_view>

namespace fernwick {

std::string JournalBytesFromUtf16(std::u16string_view text);
// Bytes that are no UTF-8 sequence read as U+FFFD, one for each byte.
std::u16string Utf16FromJournalBytes(std::string_view bytes);

}  // namespace fernwick
