#include "support/held_preparation.h"

#include "support/window_helpers.h"

namespace fernwick::test {

HANDLE HeldPreparation::GateOf(const std::wstring& path) {
  std::lock_guard guard(lock_);
  UniqueHandle& gate = gates_[path];
  if (!gate) gate.reset(::CreateEventW(nullptr, TRUE, allReleased_, nullptr));
  return gate.get();
}

PhotoPreparer::PrepareFunction HeldPreparation::Function() {
  return [this](const std::wstring& path, int32_t limit, int32_t fileNumber, int32_t box) {
    {
      std::lock_guard guard(lock_);
      ++started_;
    }
    ::WaitForSingleObject(GateOf(path), 10000);
    PreparedPhoto prepared = PreparePhoto(path, limit, fileNumber, box);
    std::lock_guard guard(lock_);
    fileNumbers_[path] = fileNumber;
    return prepared;
  };
}

void HeldPreparation::Release(const std::wstring& path) { ::SetEvent(GateOf(path)); }

void HeldPreparation::ReleaseAll() {
  std::lock_guard guard(lock_);
  allReleased_ = true;
  for (auto& [path, gate] : gates_) ::SetEvent(gate.get());
}

int32_t HeldPreparation::FileNumberOf(const std::wstring& path) {
  std::lock_guard guard(lock_);
  const auto found = fileNumbers_.find(path);
  return found == fileNumbers_.end() ? 0 : found->second;
}

int HeldPreparation::Started() {
  std::lock_guard guard(lock_);
  return started_;
}

int HeldPreparation::Finished() {
  std::lock_guard guard(lock_);
  return static_cast<int>(fileNumbers_.size());
}

bool PumpUntilAdded(const PhotoPreparer& preparer) {
  return PumpUntil([&] { return !preparer.busy(); });
}

}  // namespace fernwick::test
