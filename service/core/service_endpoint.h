#pragma once
// Where the program's requests go: the build's upload server, unless a test has pointed the
// requests elsewhere for the lifetime of a ScopedServiceEndpoint.
#include <string>

namespace fernwick {

struct ServiceEndpoint {
  std::string host;
  unsigned short port = 0;
};

ServiceEndpoint CurrentServiceEndpoint();

// Tests only: replaces the endpoint while it lives, then puts the previous one back.
class ScopedServiceEndpoint {
 public:
  explicit ScopedServiceEndpoint(ServiceEndpoint endpoint);
  ~ScopedServiceEndpoint();
  ScopedServiceEndpoint(const ScopedServiceEndpoint&) = delete;
  ScopedServiceEndpoint& operator=(const ScopedServiceEndpoint&) = delete;

 private:
  ServiceEndpoint previous_;
  bool hadPrevious_ = false;
};

}  // namespace fernwick
