#pragma once
// How long a request may take before it counts as failed, in one place. WinINet's own connect,
// send and receive timeouts are set from these, and every request is also watched: one that has
// moved no byte in either direction for the stall limit is aborted, since a server that trickles
// a byte now and then keeps WinINet's timers from ever firing.
#include <cstddef>
#include <string_view>

namespace fernwick {

struct TransferLimits {
  unsigned connectMs = 15000;  // a connection that cannot be made fails within this
  unsigned stallMs = 60000;    // no byte moved for this long: the attempt fails
};

// The body of a photo goes to WinINet in pieces of this size, so that its progress can be shown.
inline constexpr size_t kBodyPieceSize = 64 * 1024;

// The limits in force: the constants above, unless a test has replaced them.
TransferLimits CurrentTransferLimits() noexcept;
// For tests only, so that a stall is found in seconds; the program calls it only at start, with
// what the variable below gives.
void SetTransferLimits(const TransferLimits& limits) noexcept;

// Tests that run the whole program shorten its limits with this environment variable, read
// once at start: "<connect ms>,<stall ms>", e.g. "3000,4000". It can only lower them: a figure
// that is missing, not a plain number, zero or above the constant keeps the constant.
inline constexpr char kTransferLimitsVariable[] = "FERNWICK_TRANSFER_LIMITS";
TransferLimits LoweredTransferLimits(std::string_view text) noexcept;

}  // namespace fernwick
