#include "base/core/log_line.h"

#include <cstdio>
#include <new>
#include <system_error>
#include <typeinfo>

namespace fernwick {

namespace {
const char* LevelName(LogLevel level) noexcept {
  switch (level) {
    case LogLevel::kInfo:
      return "INFO ";
    case LogLevel::kWarning:
      return "WARN ";
    case LogLevel::kError:
      return "ERROR";
  }
  return "?    ";
}
}  // namespace

std::string FormatLogLine(const LogStamp& at, std::uint32_t threadId, LogLevel level, std::string_view text) {
  char head[64];
  const int length = std::snprintf(head, sizeof(head), "%04d-%02d-%02d %02d:%02d:%02d.%03d [%5lu] %s ", at.year,
                                   at.month, at.day, at.hour, at.minute, at.second, at.millisecond,
                                   static_cast<unsigned long>(threadId), LevelName(level));
  std::string line(head, length > 0 ? static_cast<std::size_t>(length) : 0);
  line.reserve(line.size() + text.size() + 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    line += (byte < 0x20 || byte == 0x7F) ? ' ' : c;
  }
  line += "\r\n";
  return line;
}

std::string DescribeSystemFailure(std::string_view what, unsigned long systemError) {
  std::string text(what);
  text += " (system error " + std::to_string(systemError) + ")";
  return text;
}

std::string DescribeRequest(std::string_view request, int httpStatus, int result, unsigned long systemError) {
  std::string text = "request ";
  text += request;
  text += ": HTTP " + std::to_string(httpStatus) + ", result " + std::to_string(result);
  if (systemError != 0) text += ", system error " + std::to_string(systemError);
  return text;
}

std::string DescribeBatch(int sent, int failed, int result) {
  return "batch ended: " + std::to_string(sent) + " sent, " + std::to_string(failed) + " failed, result " +
         std::to_string(result);
}

std::string DescribeException(std::string_view where, std::exception_ptr caught) {
  std::string text = "exception caught in ";
  text += where;
  text += ": ";
  if (!caught) return text + "none";
  try {
    std::rethrow_exception(caught);
  } catch (const std::bad_alloc&) {
    text += "out of memory";
  } catch (const std::system_error& error) {
    text += "system error " + std::to_string(error.code().value());
  } catch (const std::exception& error) {
    text += "type ";
    text += typeid(error).name();
  } catch (...) {
    text += "not a standard exception";
  }
  return text;
}

}  // namespace fernwick
