// The log file: lines reach it from any thread, it turns over at its size limit into one older
// copy, and a folder that cannot be written leaves the log off without harm.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/log.h"
#include "base/log_file.h"
#include "support/test_files.h"

namespace fernwick {
namespace {

// The numbers the rotation test wrote, in file order; -1 for a line of any other form.
std::vector<int> NumbersIn(const std::string& text) {
  std::vector<int> numbers;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t at = line.find("] WARN  request rotation: HTTP ");
    int number = -1;
    int result = -1;
    const bool whole = at != std::string::npos && !line.empty() && line.back() == '\r' &&
                       std::sscanf(line.c_str() + at, "] WARN  request rotation: HTTP %d, result %d", &number,
                                   &result) == 2 && result == 0;
    numbers.push_back(whole ? number : -1);
  }
  return numbers;
}

TEST(Log, WritesFromSeveralThreadsRotatesAndReadsBack) {
  const std::wstring folder = test::FreshDirectory(L"log-rotation");
  const ScopedLogFolder redirect(folder);
  // About 85 bytes a line: 10,000 lines fill the file more than three times over.
  constexpr int kLines = 10000;
  for (int start = 0; start < kLines; start += 2000) {
    for (int i = start; i < start + 2000; ++i) LogRequest("rotation", i, 0);
    ASSERT_TRUE(FlushLog());
  }
  const std::string current = test::ReadBytes(folder + L"fernwick.log");
  const std::string older = test::ReadBytes(folder + L"fernwick.log.1");
  EXPECT_FALSE(test::FileExists(folder + L"fernwick.log.2"));
  ASSERT_NE(current, "<missing>");
  ASSERT_NE(older, "<missing>");
  EXPECT_LE(older.size(), kLogRotationSize);
  EXPECT_GT(older.size(), kLogRotationSize - 100) << "turned over before it was full";
  EXPECT_LE(current.size(), kLogRotationSize);

  // Every line whole and in order; the older copy is the file before this one, so it starts
  // well after the first line (it has been replaced) and this one goes on where it stops.
  const std::vector<int> first = NumbersIn(older);
  const std::vector<int> second = NumbersIn(current);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_GT(first.front(), 0);
  for (std::size_t i = 1; i < first.size(); ++i) ASSERT_EQ(first[i], first[i - 1] + 1) << "line " << i;
  EXPECT_EQ(second.front(), first.back() + 1);
  for (std::size_t i = 1; i < second.size(); ++i) ASSERT_EQ(second[i], second[i - 1] + 1) << "line " << i;
  EXPECT_EQ(second.back(), kLines - 1);

  // Other threads' lines arrive too, under their own thread ids.
  std::thread([] { LogFailure("rotation: from another thread"); }).join();
  ASSERT_TRUE(FlushLog());
  const std::string after = test::ReadBytes(folder + L"fernwick.log");
  const std::size_t end = after.rfind(" WARN  rotation: from another thread\r\n");
  ASSERT_NE(end, std::string::npos);
  const std::size_t start = after.rfind('\n', end) + 1;
  char ownId[32];
  std::snprintf(ownId, sizeof(ownId), "[%5lu]", static_cast<unsigned long>(::GetCurrentThreadId()));
  EXPECT_EQ(after.substr(start, end - start).find(ownId), std::string::npos);
  test::RemoveDirectoryTree(folder);
}

TEST(Log, IsOffWhereNoFileCanBeMadeAndFindsItsFolders) {
  const std::wstring folder = test::FreshDirectory(L"log-off");
  ASSERT_TRUE(test::WriteBytes(folder + L"a-file", "x"));
  {
    const ScopedLogFolder redirect(folder + L"a-file\\log");
    SetLastError(ERROR_ACCESS_DENIED);
    LogLastError("log test: lost");
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "logging keeps the caller's error";
    EXPECT_TRUE(FlushLog());
  }
  EXPECT_EQ(test::ReadBytes(folder + L"a-file"), "x");

  // The folder the program uses: the variable when set, else the user's local application data.
  ::SetEnvironmentVariableW(kLogFolderVariable, L"C:/some/where");
  EXPECT_EQ(DefaultLogFolder(), L"C:\\some\\where");
  ::SetEnvironmentVariableW(kLogFolderVariable, nullptr);
  wchar_t* localAppData = nullptr;
  ASSERT_EQ(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &localAppData), S_OK);
  EXPECT_EQ(DefaultLogFolder(), std::wstring(localAppData) + L"\\Fernwick");
  ::CoTaskMemFree(localAppData);
  test::RemoveDirectoryTree(folder);
}

}  // namespace
}  // namespace fernwick
