#pragma once
// Photos that could not be prepared while a batch of them was added: a working copy that could
// not be written (no work directory, a full disk, no permission). Such a photo is not added, and
// the user is told once for the whole batch which photos they were and why.
#include <windows.h>

#include <string>
#include <vector>

namespace fernwick {

class PreparationReport {
 public:
  // `error` is the system's error code of the failed write; 0 when there is none to tell.
  void Add(std::wstring name, DWORD error);
  bool empty() const noexcept { return photos_.empty(); }

  // The message: every photo (up to a screenful) with its reason, in the program's words.
  std::wstring Text() const;
  // One message box with Text(); nothing when every photo was prepared.
  void Show(HWND owner) const;

 private:
  struct Photo {
    std::wstring name;
    DWORD error;
  };
  std::vector<Photo> photos_;
};

}  // namespace fernwick
