#include "service/core/service_endpoint.h"

#include <mutex>
#include <optional>
#include <utility>

#include "build_config.h"

namespace fernwick {

namespace {
// The test seam: process-wide by nature, like the prompt answerer.
std::mutex& OverrideLock() {
  static std::mutex lock;
  return lock;
}
std::optional<ServiceEndpoint>& Override() {
  static std::optional<ServiceEndpoint> endpoint;
  return endpoint;
}
}  // namespace

ServiceEndpoint CurrentServiceEndpoint() {
  std::lock_guard guard(OverrideLock());
  if (Override()) return *Override();
  return ServiceEndpoint{build::kServerHost, build::kServerPort};
}

ScopedServiceEndpoint::ScopedServiceEndpoint(ServiceEndpoint endpoint) {
  std::lock_guard guard(OverrideLock());
  auto& current = Override();
  if (current) {
    previous_ = std::move(*current);
    hadPrevious_ = true;
  }
  current = std::move(endpoint);
}

ScopedServiceEndpoint::~ScopedServiceEndpoint() {
  std::lock_guard guard(OverrideLock());
  if (hadPrevious_) {
    Override() = std::move(previous_);
  } else {
    Override().reset();
  }
}

}  // namespace fernwick
