#pragma once
// The small rules of an upload batch that need no window: the visibility sent for the radio
// chosen, the quota line's percentage while a photo is sent, and the batch address of View photos.
#include <cstdint>
#include <string>
#include <vector>

namespace fernwick {

// The photostatus field for the checked radio: 0 public "1", 1 friends only "2", anything else
// (private, or none checked) "0".
const char* PhotoStatusForVisibility(int visibilityIndex) noexcept;

// The quota line's percentage during a batch: 0 when the limit is 0, otherwise used / limit
// * 100 + 1 truncated; nothing caps it, so a full quota reads 101. Figures beyond what an int
// holds give the nearest int.
int BatchQuotaPercent(int32_t limit, int32_t used) noexcept;
// Whether a photo of `fileSize` bytes fits in what is left of the quota (limit - used).
bool PhotoFitsQuota(int32_t limit, int32_t used, int32_t fileSize) noexcept;

// At most this many ids go into the batch address.
inline constexpr size_t kMaxBatchAddressIds = 100;
// `webBase` + "/PhotosBatch.aspx?photoIDs=" + the newest ids first, comma separated, no
// comma after the last.
std::string BatchViewAddress(const std::string& webBase, const std::vector<int32_t>& uploadedIds);

}  // namespace fernwick
