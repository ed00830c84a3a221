#include "e2e/launch_recorder.h"

#include <windows.h>

#include "build_config.h"
#include "support/test_files.h"
#include "e2e/program_driver.h"

namespace fernwick::test {

namespace {

constexpr char kRecorder[] = FERNWICK_E2E_RECORDER;

std::wstring LaunchedFile() {
  const std::wstring path = L"" FERNWICK_E2E_RECORDER;
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"launched.txt";
}

}  // namespace

LaunchScope::LaunchScope() {
  ::RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    key_.put(), nullptr);
  char value[1024] = {};
  DWORD size = sizeof(value);
  if (::RegQueryValueExA(key_.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
      ERROR_SUCCESS) {
    previous_ = std::string(value);
    hadPrevious_ = previous_.find("e2e_url_recorder") == std::string::npos;
  }
  const std::string command = "\"" + std::string(kRecorder) + "\" \"%1\"";
  ::RegSetValueExA(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
  Forget();
}

LaunchScope::~LaunchScope() {
  if (hadPrevious_) {
    ::RegSetValueExA(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                     static_cast<DWORD>(previous_.size() + 1));
  } else {
    ::RegDeleteValueA(key_.get(), nullptr);
  }
}

std::string LaunchScope::WaitForLaunch() {
  std::string launched;
  WaitUntil([&] {
    launched = ReadBytes(LaunchedFile());
    return launched != "<missing>" && !launched.empty();
  });
  return launched == "<missing>" ? std::string() : launched;
}

void LaunchScope::Forget() { ::DeleteFileW(LaunchedFile().c_str()); }

std::string BatchAddress(const std::vector<StoredPhoto>& photos) {
  std::string address = std::string(build::kWebBase) + "/PhotosBatch.aspx?photoIDs=";
  for (auto photo = photos.rbegin(); photo != photos.rend(); ++photo) {
    address += std::to_string(photo->id) + (photo + 1 != photos.rend() ? "," : "");
  }
  return address;
}

}  // namespace fernwick::test
