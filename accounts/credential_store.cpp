#include "accounts/credential_store.h"

#include <windows.h>
#include <wincred.h>

#include <memory>

#include "base/log.h"

namespace fernwick {

namespace {

struct CredFreer {
  void operator()(void* buffer) const noexcept { ::CredFree(buffer); }
};
template <typename T>
using CredBuffer = std::unique_ptr<T, CredFreer>;

class WindowsCredentialStore final : public CredentialStore {
 public:
  bool Write(const std::wstring& target, const std::wstring& userName, const std::wstring& password) override {
    // CredWriteW takes non-const strings but does not change them.
    std::wstring targetCopy = target;
    std::wstring userCopy = userName;
    std::wstring blob = password;
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = targetCopy.data();
    credential.UserName = userCopy.data();
    // The password as UTF-16 without its terminating zero, the form Windows' own tools use.
    credential.CredentialBlobSize = static_cast<DWORD>(blob.size() * sizeof(wchar_t));
    credential.CredentialBlob = blob.empty() ? nullptr : reinterpret_cast<BYTE*>(blob.data());
    // The settings file naming the accounts is in the roaming profile; so are their passwords,
    // or the user's other computer starts with accounts that have none.
    credential.Persist = CRED_PERSIST_ENTERPRISE;
    const bool written = ::CredWriteW(&credential, 0) != FALSE;
    ::SecureZeroMemory(blob.data(), blob.size() * sizeof(wchar_t));
    if (!written) LogLastError("credential store: a password cannot be written");
    return written;
  }

  Found Read(const std::wstring& target, std::wstring& password) override {
    PCREDENTIALW raw = nullptr;
    if (!::CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &raw)) {
      if (::GetLastError() == ERROR_NOT_FOUND) return Found::kNo;
      LogLastError("credential store: a password cannot be read");
      return Found::kFailed;
    }
    const CredBuffer<CREDENTIALW> credential(raw);
    password.assign(reinterpret_cast<const wchar_t*>(credential->CredentialBlob),
                    credential->CredentialBlobSize / sizeof(wchar_t));
    return Found::kYes;
  }

  bool Delete(const std::wstring& target) override {
    if (::CredDeleteW(target.c_str(), CRED_TYPE_GENERIC, 0) || ::GetLastError() == ERROR_NOT_FOUND) return true;
    LogLastError("credential store: a password cannot be deleted");
    return false;
  }

  std::optional<std::vector<std::wstring>> Targets(const wchar_t* filter) override {
    DWORD count = 0;
    PCREDENTIALW* raw = nullptr;
    if (!::CredEnumerateW(filter, 0, &count, &raw)) {
      if (::GetLastError() == ERROR_NOT_FOUND) return std::vector<std::wstring>{};
      LogLastError("credential store: the program's passwords cannot be listed");
      return std::nullopt;
    }
    const CredBuffer<PCREDENTIALW> credentials(raw);
    std::vector<std::wstring> targets;
    for (DWORD i = 0; i < count; ++i) {
      if (raw[i]->Type == CRED_TYPE_GENERIC && raw[i]->TargetName) targets.emplace_back(raw[i]->TargetName);
    }
    return targets;
  }
};

CredentialStore* g_replacement = nullptr;

}  // namespace

bool SameCredentialName(std::wstring_view a, std::wstring_view b) noexcept {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

CredentialStore& ActiveCredentialStore() {
  static WindowsCredentialStore windowsStore;
  return g_replacement ? *g_replacement : windowsStore;
}

ScopedCredentialStore::ScopedCredentialStore(CredentialStore& store) : previous_(g_replacement) {
  g_replacement = &store;
}

ScopedCredentialStore::~ScopedCredentialStore() { g_replacement = previous_; }

}  // namespace fernwick
