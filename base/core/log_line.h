#pragma once
// The log's lines and when its file is turned over. Portable, tested natively.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace fernwick {

enum class LogLevel { kInfo, kWarning, kError };

// Local wall-clock time of an event, as the system reports it.
struct LogStamp {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// What happened, in the program's own words. Only a string literal fits: a text made at run
// time (a user name, a password, a token, a server's reply) cannot become one, so none can
// reach the log through it. Every other field of a line is a number.
class LogText {
 public:
  template <std::size_t N>
  consteval LogText(const char (&text)[N]) noexcept : text_(text, N - 1) {}
  constexpr std::string_view view() const noexcept { return text_; }

 private:
  std::string_view text_;
};

// "2024-05-01 09:03:07.045 [  300] WARN  text\r\n". Control characters in the text become
// blanks, so one event is always one line.
std::string FormatLogLine(const LogStamp& at, std::uint32_t threadId, LogLevel level, std::string_view text);

// The texts of the fixed kinds of events.
std::string DescribeSystemFailure(std::string_view what, unsigned long systemError);
std::string DescribeRequest(std::string_view request, int httpStatus, int result, unsigned long systemError);
std::string DescribeBatch(int sent, int failed, int result);
// Where an exception was caught and its kind; never its message, which may carry anything.
std::string DescribeException(std::string_view where, std::exception_ptr caught);

// The file is turned over (renamed to its ".1" copy) at this size.
inline constexpr std::uint64_t kLogRotationSize = 256 * 1024;

// Whether a line of `lineSize` bytes must go into a fresh file rather than after `fileSize`
// bytes: it would carry the file past `limit`. An empty file always takes the line, however
// long, so a turn-over never leaves an empty file behind.
constexpr bool RotationDue(std::uint64_t fileSize, std::uint64_t lineSize,
                           std::uint64_t limit = kLogRotationSize) noexcept {
  return fileSize > 0 && fileSize + lineSize > limit;
}

}  // namespace fernwick
