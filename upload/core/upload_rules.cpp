#include "upload/core/upload_rules.h"

#include <climits>
#include <cstdio>

namespace fernwick {

const char* PhotoStatusForVisibility(int visibilityIndex) noexcept {
  switch (visibilityIndex) {
    case 0:
      return "1";
    case 1:
      return "2";
    default:
      return "0";
  }
}

int BatchQuotaPercent(int32_t limit, int32_t used) noexcept {
  if (limit == 0) return 0;
  const double percent = static_cast<double>(used) / static_cast<double>(limit) * 100.0 + 1.0;
  // The figures come from the server; a double outside the int range has no int value.
  if (percent >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (percent <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(percent);
}

bool PhotoFitsQuota(int32_t limit, int32_t used, int32_t fileSize) noexcept {
  // In 64 bits: the server's figures may be anything, and a 32-bit difference can overflow.
  return int64_t{limit} - int64_t{used} >= int64_t{fileSize};
}

std::string BatchViewAddress(const std::string& webBase, const std::vector<int32_t>& uploadedIds) {
  std::string address = webBase + "/PhotosBatch.aspx?photoIDs=";
  size_t taken = 0;
  char number[16];
  for (auto id = uploadedIds.rbegin(); id != uploadedIds.rend() && taken < kMaxBatchAddressIds; ++id, ++taken) {
    std::snprintf(number, sizeof(number), "%d,", static_cast<int>(*id));
    address += number;
  }
  if (taken > 0) address.pop_back();
  return address;
}

}  // namespace fernwick
