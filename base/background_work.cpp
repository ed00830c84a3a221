#include "base/background_work.h"

#include <thread>
#include <utility>

#include "base/log.h"

namespace fernwick {

bool StartDetached(std::function<void()> job, LogText where) noexcept {
  try {
    std::thread([job = std::move(job), where]() noexcept {
      try {
        job();
      } catch (...) {
        LogCaughtException(where);
      }
    }).detach();
    return true;
  } catch (...) {
    return false;
  }
}

Spawner DetachedThread(LogText where) {
  return [where](std::function<void()> job) {
    if (StartDetached(std::move(job), where)) return true;
    LogFailure("a detached job's thread could not be started; the job is dropped");
    return false;
  };
}

}  // namespace fernwick
