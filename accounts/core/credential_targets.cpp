#include "accounts/core/credential_targets.h"

namespace fernwick {

namespace {
constexpr wchar_t kProgram[] = L"Fernwick";
constexpr wchar_t kCurrentPrefix[] = L"Fernwick (current):";

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}
}  // namespace

std::vector<std::wstring> SavedAccountTargets(const std::vector<AccountEntry>& saved, SameStoreName same) {
  std::vector<std::wstring> targets;
  targets.reserve(saved.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    const AccountEntry& entry = saved[i];
    int occurrence = 1;
    for (std::size_t j = 0; j < i; ++j) occurrence += same(saved[j].userName, entry.userName) ? 1 : 0;
    std::wstring target = kProgram;
    if (occurrence > 1) target += L"#" + std::to_wstring(occurrence);
    targets.push_back(target + L":" + entry.userName);
  }
  return targets;
}

std::wstring CurrentAccountTarget(const std::wstring& userName) { return kCurrentPrefix + userName; }

bool IsProgramTarget(const std::wstring& target) {
  if (StartsWith(target, kCurrentPrefix)) return true;
  const std::wstring program = kProgram;
  if (!StartsWith(target, program)) return false;
  const std::size_t colon = target.find(L':', program.size());
  if (colon == std::wstring::npos) return false;
  const std::wstring number = target.substr(program.size(), colon - program.size());
  if (number.empty()) return true;
  // "#k" with k >= 2 written without leading zeros, exactly as SavedAccountTargets writes it.
  if (number.size() < 2 || number[0] != L'#' || number[1] == L'0') return false;
  for (std::size_t i = 1; i < number.size(); ++i) {
    if (number[i] < L'0' || number[i] > L'9') return false;
  }
  return number != L"#1";
}

const std::wstring* FirstSavedPassword(const std::vector<AccountEntry>& saved, const std::wstring& userName,
                                       SameStoreName same) {
  for (const AccountEntry& entry : saved) {
    if (same(entry.userName, userName)) return &entry.password;
  }
  return nullptr;
}

}  // namespace fernwick
