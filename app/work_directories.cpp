#include "app/work_directories.h"

#include <windows.h>

namespace fernwick {

namespace {
std::string UnderWindowsDirectory(const char* name) {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  std::string path = windows;
  path += '\\';
  path += name;
  path += '\\';
  return path;
}
}  // namespace

std::string ScaledCopiesDirectory() { return UnderWindowsDirectory("qvpicsendtmp"); }
std::string RotatedCopiesDirectory() { return UnderWindowsDirectory("qvpicsendsnd"); }

}  // namespace fernwick
