#include "base/shared_work.h"

#include "base/log.h"

namespace fernwick {

SharedWork::~SharedWork() {
  {
    std::lock_guard guard(lock_);
    quit_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool SharedWork::HaveHelper() {
  if (thread_.joinable()) return true;
  if (helperTried_ || std::thread::hardware_concurrency() < 2) return false;
  helperTried_ = true;
  try {
    thread_ = std::thread([this] { Help(); });
  } catch (const std::exception&) {
    LogCaughtException("shared work");
  }
  return thread_.joinable();
}

void SharedWork::Run(std::size_t count, const std::function<void(std::size_t)>& piece) {
  if (count == 0) return;
  if (count == 1 || !HaveHelper()) {
    for (std::size_t i = 0; i < count; ++i) piece(i);
    return;
  }
  {
    std::lock_guard guard(lock_);
    piece_ = &piece;
    count_ = count;
    next_ = 0;
    ++run_;
  }
  changed_.notify_all();
  TakePieces(piece, count);
  // Every piece is taken; those in the helper's hands are waited for. A helper that wakes only
  // after this finds no run and sleeps again.
  std::unique_lock guard(lock_);
  changed_.wait(guard, [this] { return !helping_; });
  piece_ = nullptr;
}

void SharedWork::TakePieces(const std::function<void(std::size_t)>& piece, std::size_t count) noexcept {
  for (;;) {
    std::size_t taken = 0;
    {
      std::lock_guard guard(lock_);
      if (next_ >= count) return;
      taken = next_++;
    }
    piece(taken);
  }
}

void SharedWork::Help() noexcept {
  unsigned long long joined = 0;
  std::unique_lock guard(lock_);
  for (;;) {
    changed_.wait(guard, [&] { return quit_ || (piece_ && run_ != joined); });
    if (quit_) return;
    joined = run_;
    helping_ = true;
    const auto* piece = piece_;
    const std::size_t count = count_;
    guard.unlock();
    TakePieces(*piece, count);
    guard.lock();
    helping_ = false;
    changed_.notify_all();
  }
}

}  // namespace fernwick
