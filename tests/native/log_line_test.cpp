#include "base/core/log_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <type_traits>
#include <typeinfo>

namespace fernwick {
namespace {

// Only literals make a LogText: a pointer or a string made at run time does not.
static_assert(std::is_constructible_v<LogText, const char (&)[4]>);
static_assert(!std::is_constructible_v<LogText, const char*>);
static_assert(!std::is_constructible_v<LogText, std::string>);
static_assert(!std::is_constructible_v<LogText, std::string_view>);

constexpr LogStamp kStamp{2024, 5, 1, 9, 3, 7, 45};

struct LineCase {
  const char* name;
  std::function<std::string()> make;
  std::string expected;
};

class LogLineTest : public ::testing::TestWithParam<LineCase> {};
TEST_P(LogLineTest, ReadsAsExpected) { EXPECT_EQ(GetParam().make(), GetParam().expected); }
INSTANTIATE_TEST_SUITE_P(
    Lines, LogLineTest,
    ::testing::Values(
        LineCase{"Info", [] { return FormatLogLine(kStamp, 300, LogLevel::kInfo, "started"); },
                 "2024-05-01 09:03:07.045 [  300] INFO  started\r\n"},
        LineCase{"Warning", [] { return FormatLogLine(kStamp, 7, LogLevel::kWarning, "x"); },
                 "2024-05-01 09:03:07.045 [    7] WARN  x\r\n"},
        LineCase{"ErrorWideThreadId",
                 [] { return FormatLogLine(LogStamp{1999, 12, 31, 23, 59, 59, 999}, 4294967295u, LogLevel::kError, ""); },
                 "1999-12-31 23:59:59.999 [4294967295] ERROR \r\n"},
        LineCase{"ControlCharactersStayOnOneLine",
                 [] { return FormatLogLine(kStamp, 1, LogLevel::kInfo, std::string("a\r\nb\tc\0d\x7f", 9)); },
                 "2024-05-01 09:03:07.045 [    1] INFO  a  b c d \r\n"},
        LineCase{"DoubleByteTextUnchanged", [] { return FormatLogLine(kStamp, 1, LogLevel::kInfo, "\xB2\xE2\x8A\x40"); },
                 "2024-05-01 09:03:07.045 [    1] INFO  \xB2\xE2\x8A\x40\r\n"},
        LineCase{"SystemFailure", [] { return DescribeSystemFailure("cannot delete", 5); },
                 "cannot delete (system error 5)"},
        LineCase{"RequestAnswered", [] { return DescribeRequest("sign-in", 200, -1, 0); },
                 "request sign-in: HTTP 200, result -1"},
        LineCase{"RequestNotSent", [] { return DescribeRequest("upload", 0, -2, 12029); },
                 "request upload: HTTP 0, result -2, system error 12029"},
        LineCase{"Batch", [] { return DescribeBatch(3, 1, -2); }, "batch ended: 3 sent, 1 failed, result -2"},
        LineCase{"NoException", [] { return DescribeException("here", nullptr); }, "exception caught in here: none"},
        LineCase{"OutOfMemory", [] { return DescribeException("w", std::make_exception_ptr(std::bad_alloc())); },
                 "exception caught in w: out of memory"},
        LineCase{"SystemError",
                 [] {
                   return DescribeException("w", std::make_exception_ptr(std::system_error(
                                                     std::make_error_code(std::errc::resource_deadlock_would_occur))));
                 },
                 "exception caught in w: system error " +
                     std::to_string(static_cast<int>(std::errc::resource_deadlock_would_occur))},
        LineCase{"TypeNamedMessageLeftOut",
                 [] { return DescribeException("w", std::make_exception_ptr(std::runtime_error("password=hunter2"))); },
                 std::string("exception caught in w: type ") + typeid(std::runtime_error).name()},
        LineCase{"NotStandard", [] { return DescribeException("w", std::make_exception_ptr(42)); },
                 "exception caught in w: not a standard exception"}),
    [](const auto& info) { return info.param.name; });

struct RotationCase {
  const char* name;
  std::uint64_t fileSize;
  std::uint64_t lineSize;
  bool due;
};

class LogRotationTest : public ::testing::TestWithParam<RotationCase> {};
TEST_P(LogRotationTest, TurnsOverBeforeTheLimit) {
  EXPECT_EQ(RotationDue(GetParam().fileSize, GetParam().lineSize), GetParam().due);
}
INSTANTIATE_TEST_SUITE_P(Sizes, LogRotationTest,
                         ::testing::Values(RotationCase{"EmptyFile", 0, 100, false},
                                           RotationCase{"EmptyFileTakesAnOversizeLine", 0, 300000, false},
                                           RotationCase{"FitsExactly", 262144 - 60, 60, false},
                                           RotationCase{"OneByteOver", 262144 - 59, 60, true},
                                           RotationCase{"AlreadyLong", 300000, 1, true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace fernwick
