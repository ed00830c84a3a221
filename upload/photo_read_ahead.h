#pragma once
// The next photo's file, read on a thread of its own while the photo before it is on the wire, so
// that reading it no longer stands between that photo's answer and its own request.
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace fernwick {

class PhotoReadAhead {
 public:
  PhotoReadAhead() = default;
  PhotoReadAhead(const PhotoReadAhead&) = delete;
  PhotoReadAhead& operator=(const PhotoReadAhead&) = delete;
  // Waits for a read in progress (one local file) and ends the thread.
  ~PhotoReadAhead();

  // Starts reading the file at `path` whole; a read not taken is dropped by the next Start.
  // Nothing is read when no thread could be had.
  void Start(std::wstring path);
  // True, with the file's content swapped into `content`, when the last Start was for `path` and
  // read it whole; waits for that read. The memory `content` held is the next read's, so two
  // buffers serve a whole batch (fresh pages cost Wine more than the read). False when it was
  // not read (the caller reads the file itself).
  bool Take(const std::wstring& path, std::string& content);

 private:
  void Read() noexcept;

  std::mutex lock_;
  std::condition_variable changed_;
  std::wstring path_;
  std::string content_;
  bool wanted_ = false;  // a Start the thread has not finished
  bool read_ = false;    // the last finished read got the whole file
  bool quit_ = false;
  std::thread thread_;
};

}  // namespace fernwick
