#include "upload/photo_read_ahead.h"

#include <utility>

#include "base/log.h"
#include "service/upload_request.h"

namespace fernwick {

PhotoReadAhead::~PhotoReadAhead() {
  {
    std::lock_guard guard(lock_);
    quit_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void PhotoReadAhead::Start(std::wstring path) {
  std::unique_lock guard(lock_);
  // A read still in progress is the thread's until it ends: its buffer cannot be changed under it.
  changed_.wait(guard, [this] { return !wanted_; });
  path_ = std::move(path);
  read_ = false;
  // Started with the first read: a batch of one photo never pays for a thread (3 to 5 ms under
  // Wine). Without one, the send reads its file itself, as it always could.
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { Read(); });
    } catch (const std::exception&) {
      LogCaughtException("photo read ahead");
      return;
    }
  }
  wanted_ = true;
  guard.unlock();
  changed_.notify_all();
}

bool PhotoReadAhead::Take(const std::wstring& path, std::string& content) {
  std::unique_lock guard(lock_);
  changed_.wait(guard, [this] { return !wanted_; });
  if (!read_ || path != path_) return false;
  read_ = false;
  content.swap(content_);
  return true;
}

void PhotoReadAhead::Read() noexcept {
  std::unique_lock guard(lock_);
  for (;;) {
    changed_.wait(guard, [this] { return wanted_ || quit_; });
    if (quit_) return;
    // The path and the buffer are this thread's until `wanted_` is lowered.
    guard.unlock();
    bool read = false;
    try {
      read = ReadPhotoAhead(path_, content_);
    } catch (...) {
      LogCaughtException("photo read ahead");  // no memory for it: the send reads the file itself
    }
    guard.lock();
    read_ = read;
    wanted_ = false;
    changed_.notify_all();
  }
}

}  // namespace fernwick
