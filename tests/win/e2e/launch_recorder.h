#pragma once
// The browser of the end-to-end runs: while a LaunchScope lives, the prefix's handler of http
// addresses is e2e_url_recorder, which writes each address it is given to a file.
#include <string>
#include <vector>

#include "base/handles.h"
#include "stored_photos.h"

namespace fernwick::test {

class LaunchScope {
 public:
  // Points the handler at the recorder and forgets every address recorded before.
  LaunchScope();
  // The handler the prefix had before, if any.
  ~LaunchScope();
  LaunchScope(const LaunchScope&) = delete;
  LaunchScope& operator=(const LaunchScope&) = delete;

  // The recorder's lines once something was launched (each a quoted address), empty when
  // nothing came in time.
  static std::string WaitForLaunch();
  // Forgets what was recorded.
  static void Forget();

 private:
  UniqueHKey key_;
  std::string previous_;
  bool hadPrevious_ = false;
};

// The View photos address of `photos`, in the order the server stored them: newest first.
std::string BatchAddress(const std::vector<StoredPhoto>& photos);

}  // namespace fernwick::test
