#pragma once
// Photos being added whose preparation a test holds and lets go of one by one, so that it
// decides in which order the workers finish; and waiting for an add to end.
#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "base/handles.h"
#include "imaging/photo_preparer.h"

namespace fernwick::test {

class HeldPreparation {
 public:
  // Every path waits (at most a failure bound of 10 s) until Release(path) or ReleaseAll().
  PhotoPreparer::PrepareFunction Function();
  void Release(const std::wstring& path);
  void ReleaseAll();
  // The file number each path was prepared with; 0 until its preparation is done.
  int32_t FileNumberOf(const std::wstring& path);
  // How many preparations have started (are waiting or done), and how many are done.
  int Started();
  int Finished();

 private:
  HANDLE GateOf(const std::wstring& path);

  std::mutex lock_;
  std::map<std::wstring, UniqueHandle> gates_;
  std::map<std::wstring, int32_t> fileNumbers_;
  bool allReleased_ = false;
  int started_ = 0;
};

// Handles this thread's messages until `preparer` has nothing left to add; false after 10 s.
bool PumpUntilAdded(const PhotoPreparer& preparer);

}  // namespace fernwick::test
