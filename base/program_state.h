#pragma once
// The process-wide state the program's design names: one instance each, not members of any
// window. Everything else belongs to an object.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace fernwick {

// Longest picture side applied when a photo is added: 800, 1024, 1280 or 1600 ("do not
// scale"); default 1024. Stored by the settings file, chosen in the settings dialog.
int SizeLimit() noexcept;
void SetSizeLimit(int limit) noexcept;

// Photo ids the server returned, in upload order, for every batch since the program started.
void AppendUploadedPhotoId(int32_t id);
std::vector<int32_t> UploadedPhotoIds();

}  // namespace fernwick
