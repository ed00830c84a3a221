#pragma once
// The Windows tests' side of the reference server that ctest starts for them: its port, its
// control endpoint (faults, captured raw requests, account figures), and a scope that points
// the program's requests at it.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "service/core/service_endpoint.h"
#include "base/internet_handle.h"

namespace fernwick::test {

inline int ReferenceServerPort() {
  std::ifstream in(FERNWICK_TEST_SERVER_PORT_FILE);
  int port = 0;
  in >> port;
  return port;
}

// Percent-escapes everything but unreserved characters, for control queries.
inline std::string Escape(const std::string& text) {
  std::string out;
  char hex[4];
  for (unsigned char c : text) {
    if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c == '/' || c == '*') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof(hex), "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

struct HttpAnswer {
  DWORD status = 0;
  std::string body;
};

// A whole GET, read to the end (the program's own exchange keeps only 1024 bytes).
inline std::optional<HttpAnswer> HttpGet(const std::string& pathAndQuery) {
  UniqueInternetHandle session(::InternetOpenA("fernwick-tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return std::nullopt;
  UniqueInternetHandle connection(::InternetConnectA(session.get(), "127.0.0.1",
                                                     static_cast<INTERNET_PORT>(ReferenceServerPort()), nullptr,
                                                     nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  UniqueInternetHandle request(::HttpOpenRequestA(connection.get(), "GET", pathAndQuery.c_str(), "HTTP/1.0", nullptr,
                                                  nullptr, INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, 0));
  if (!request || !::HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return std::nullopt;
  HttpAnswer answer;
  DWORD size = sizeof(answer.status);
  ::HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &answer.status, &size, nullptr);
  char buffer[65536];
  DWORD got = 0;
  while (::InternetReadFile(request.get(), buffer, sizeof(buffer), &got) && got > 0) answer.body.append(buffer, got);
  return answer;
}

inline std::string Control(const std::string& pathAndQuery) {
  auto answer = HttpGet("/control/" + pathAndQuery);
  return answer ? answer->body : std::string();
}

// Makes (or replaces) the account `user` on the server with its password, monthly quota in
// bytes and blog name; the server's answer.
inline std::string PutAccount(const std::string& user, const std::string& password, long long quota,
                              const std::string& blog) {
  return Control("put-account?user=" + Escape(user) + "&password=" + Escape(password) +
                 "&quota=" + std::to_string(quota) + "&blog=" + Escape(blog));
}

inline void ArmFault(const std::string& kind, const std::string& path, long value = 0, const std::string& text = "") {
  Control("fault?kind=" + kind + "&path=" + Escape(path) + "&value=" + std::to_string(value) + "&text=" + Escape(text));
}

// The Host header WinINet puts in every request to the server.
inline std::string HostLine() { return "Host: 127.0.0.1:" + std::to_string(ReferenceServerPort()) + "\r\n"; }

// The raw bytes of the latest request the server saw (0 = latest).
inline std::string Captured(int back = 0) { return Control("captured?back=" + std::to_string(back)); }
inline int CapturedCount() { return std::atoi(Control("count").c_str()); }

// Equality of two byte strings that, on failure, tells where they part instead of printing
// megabytes.
inline ::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  const size_t from = at < 80 ? 0 : at - 80;
  return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                       << ", first difference at byte " << at << "\n actual: ["
                                       << actual.substr(from, 120) << "]\n expected: [" << expected.substr(from, 120)
                                       << "]";
}

// Points the program's requests at the reference server and starts from a clean plan.
class ReferenceServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GT(ReferenceServerPort(), 0) << "the reference server is not running (ctest fixture reference_server)";
    endpoint_.emplace(ServiceEndpoint{"127.0.0.1", static_cast<unsigned short>(ReferenceServerPort())});
    ASSERT_EQ(Control("clear"), "cleared\n");
  }
  void TearDown() override { Control("clear"); }

 private:
  std::optional<ScopedServiceEndpoint> endpoint_;
};

}  // namespace fernwick::test
