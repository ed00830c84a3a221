#include "app/core/upload_rules.h"

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
  return static_cast<int>(static_cast<double>(used) / static_cast<double>(limit) * 100.0 + 1.0);
}

std::string BatchQuotaText(int32_t limit, int32_t used) {
  char text[64];
  std::snprintf(text, sizeof(text), "使用了%d%%的本月上传空间", BatchQuotaPercent(limit, used));
  return text;
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
