#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "accounts/core/credential_targets.h"

namespace fernwick {
namespace {

// The store's comparison for the names used here: ASCII letters without regard to case.
bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](wchar_t x, wchar_t y) { return fold(x) == fold(y); });
}

TEST(CredentialTargets, EachOccurrenceOfANameHasItsOwnTarget) {
  const std::vector<AccountEntry> saved = {{L"bob", L"1"},   {L"张三", L"2"}, {L"bob", L"3"},
                                           {L"bob#2", L"4"}, {L"bob", L"5"},  {L"a:b", L"6"}};
  EXPECT_EQ(SavedAccountTargets(saved, SameIgnoringCase),
            (std::vector<std::wstring>{L"Fernwick:bob", L"Fernwick:张三", L"Fernwick#2:bob", L"Fernwick:bob#2",
                                       L"Fernwick#3:bob", L"Fernwick:a:b"}));
  EXPECT_EQ(CurrentAccountTarget(L"bob"), L"Fernwick (current):bob");
  ASSERT_NE(FirstSavedPassword(saved, L"bob", SameIgnoringCase), nullptr);
  EXPECT_EQ(*FirstSavedPassword(saved, L"bob", SameIgnoringCase), L"1");
  EXPECT_EQ(FirstSavedPassword(saved, L"carol", SameIgnoringCase), nullptr);
}

// The store takes "Fernwick:Alice" and "Fernwick:alice" for one credential: names that differ
// only in case are counted as one name, so each keeps a credential of its own.
TEST(CredentialTargets, NamesDifferingOnlyInCaseAreCountedAsOne) {
  const std::vector<AccountEntry> saved = {{L"Alice", L"1"}, {L"alice", L"2"}, {L"ALICE", L"3"}};
  EXPECT_EQ(SavedAccountTargets(saved, SameIgnoringCase),
            (std::vector<std::wstring>{L"Fernwick:Alice", L"Fernwick#2:alice", L"Fernwick#3:ALICE"}));
  ASSERT_NE(FirstSavedPassword(saved, L"aLiCe", SameIgnoringCase), nullptr);
  EXPECT_EQ(*FirstSavedPassword(saved, L"aLiCe", SameIgnoringCase), L"1");
}

TEST(CredentialTargets, OnlyTheProgramsOwnFormsAreRecognised) {
  const struct {
    const wchar_t* target;
    bool ours;
  } cases[] = {
      {L"Fernwick:bob", true},           {L"Fernwick#2:bob", true}, {L"Fernwick#13:a#2", true},
      {L"Fernwick (current):bob", true}, {L"Fernwick:", true},      {L"Fernwick#1:bob", false},
      {L"Fernwick#02:bob", false},       {L"Fernwick#:bob", false}, {L"Fernwick#x:bob", false},
      {L"FernwickPro:bob", false},       {L"Fernwick", false},      {L"fernwick:bob", false},
      {L"Other:Fernwick:bob", false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(IsProgramTarget(cases[i].target), cases[i].ours) << i;
  // Every target the program writes is one it recognises as its own.
  for (const std::wstring& target : SavedAccountTargets({{L"x", L""}, {L"X", L""}, {L"x#3", L""}}, SameIgnoringCase)) {
    EXPECT_TRUE(IsProgramTarget(target));
  }
}

}  // namespace
}  // namespace fernwick
