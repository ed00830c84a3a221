#include "service/core/transfer_limits.h"

#include <atomic>

namespace fernwick {

namespace {
// Read by every worker's request, written only by tests before they start one.
std::atomic<unsigned> connectMs{TransferLimits{}.connectMs};
std::atomic<unsigned> stallMs{TransferLimits{}.stallMs};
}  // namespace

TransferLimits CurrentTransferLimits() noexcept { return TransferLimits{connectMs.load(), stallMs.load()}; }

void SetTransferLimits(const TransferLimits& limits) noexcept {
  connectMs.store(limits.connectMs);
  stallMs.store(limits.stallMs);
}

}  // namespace fernwick
