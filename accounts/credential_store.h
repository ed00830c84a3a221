#pragma once
// Where the saved accounts' passwords are kept: the user's Windows credential store, one
// generic credential per password (see accounts/core/credential_targets.h for the names).
// The program reaches it through ActiveCredentialStore(), so a test can put a store of its
// own in place, one that fails for instance. Used on the UI thread only.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick {

class CredentialStore {
 public:
  enum class Found { kYes, kNo, kFailed };

  virtual ~CredentialStore() = default;
  // Creates or replaces the credential `target`; `userName` is shown beside it in Windows'
  // Credential Manager.
  virtual bool Write(const std::wstring& target, const std::wstring& userName, const std::wstring& password) = 0;
  virtual Found Read(const std::wstring& target, std::wstring& password) = 0;
  // True also when there was no such credential.
  virtual bool Delete(const std::wstring& target) = 0;
  // The names matching `filter` (a trailing '*' matches any end); none when the store failed.
  virtual std::optional<std::vector<std::wstring>> Targets(const wchar_t* filter) = 0;

  // True the first time only: the user hears once per run that passwords cannot be kept.
  bool FirstFailure() noexcept {
    const bool first = !failureTold_;
    failureTold_ = true;
    return first;
  }

 private:
  bool failureTold_ = false;
};

// Whether the store takes two target names for one: it compares them without regard to case,
// as CompareStringOrdinal does when told to ignore it.
bool SameCredentialName(std::wstring_view a, std::wstring_view b) noexcept;

// The Windows credential store, unless a test has put another in place.
CredentialStore& ActiveCredentialStore();

// Puts `store` in place for its lifetime (tests only); the previous one comes back after.
class ScopedCredentialStore {
 public:
  explicit ScopedCredentialStore(CredentialStore& store);
  ~ScopedCredentialStore();
  ScopedCredentialStore(const ScopedCredentialStore&) = delete;
  ScopedCredentialStore& operator=(const ScopedCredentialStore&) = delete;

 private:
  CredentialStore* previous_;
};

}  // namespace fernwick
