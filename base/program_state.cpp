#include "base/program_state.h"

namespace fernwick {

namespace {
std::atomic<int> g_sizeLimit{1024};

struct PhotoIdList {
  std::mutex lock;
  std::vector<int32_t> ids;
};
PhotoIdList& UploadedIds() {
  static PhotoIdList list;
  return list;
}
}  // namespace

int SizeLimit() noexcept { return g_sizeLimit.load(); }
void SetSizeLimit(int limit) noexcept { g_sizeLimit.store(limit); }

void AppendUploadedPhotoId(int32_t id) {
  std::lock_guard guard(UploadedIds().lock);
  UploadedIds().ids.push_back(id);
}

std::vector<int32_t> UploadedPhotoIds() {
  std::lock_guard guard(UploadedIds().lock);
  return UploadedIds().ids;
}

}  // namespace fernwick
