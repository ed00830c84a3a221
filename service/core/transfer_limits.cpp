#include "service/core/transfer_limits.h"

#include <atomic>
#include <charconv>

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

namespace {
// `text` as a number of milliseconds below `limit`, or `limit`.
unsigned LowerOnly(std::string_view text, unsigned limit) noexcept {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > limit) return limit;
  return value;
}
}  // namespace

TransferLimits LoweredTransferLimits(std::string_view text) noexcept {
  const TransferLimits constants;
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return constants;
  return TransferLimits{LowerOnly(text.substr(0, comma), constants.connectMs),
                        LowerOnly(text.substr(comma + 1), constants.stallMs)};
}

}  // namespace fernwick
