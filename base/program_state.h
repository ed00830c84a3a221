#pragma once
// What the whole process shares, one instance each and owned by no window: the picture size
// limit and the photo ids the server has returned. The settings file, the settings dialog, the
// add routine, the upload worker and the done page all reach these; everything else, such as
// whether a batch runs, belongs to an object.
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
