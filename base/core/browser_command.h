#pragma once
// The command line that starts the HTML handler with an address, and which addresses may be
// put on it. Portable, tested natively.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fernwick {

// Longest command line the system accepts for a new process, without the terminating zero.
inline constexpr std::size_t kMaxCommandLine = 32767 - 1;

// "http://" or "https://" (scheme in any letter case) followed by at least one byte, and no
// quote, blank or control character anywhere: such an address cannot break out of its place
// on a command line.
bool IsPlainWebAddress(std::string_view address);

// The handler's command with the address: in place of every "%1" when the command has one;
// otherwise right after the command (what a quoted program path alone needs), with one blank
// between them when the command ends in a switch. Nothing when the command is empty or the
// result would be longer than kMaxCommandLine.
std::optional<std::string> BuildBrowserCommandLine(std::string_view handlerCommand, std::string_view address);

}  // namespace fernwick
