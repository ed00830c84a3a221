#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "accounts/core/credential_targets.h"

namespace fernwick {
namespace {

TEST(CredentialTargets, EachOccurrenceOfANameHasItsOwnTarget) {
  const std::vector<AccountEntry> saved = {{L"bob", L"1"},   {L"张三", L"2"}, {L"bob", L"3"},
                                           {L"bob#2", L"4"}, {L"bob", L"5"},  {L"a:b", L"6"}};
  EXPECT_EQ(SavedAccountTargets(saved),
            (std::vector<std::wstring>{L"Fernwick:bob", L"Fernwick:张三", L"Fernwick#2:bob", L"Fernwick:bob#2",
                                       L"Fernwick#3:bob", L"Fernwick:a:b"}));
  EXPECT_EQ(CurrentAccountTarget(L"bob"), L"Fernwick (current):bob");
  ASSERT_NE(FirstSavedPassword(saved, L"bob"), nullptr);
  EXPECT_EQ(*FirstSavedPassword(saved, L"bob"), L"1");
  EXPECT_EQ(FirstSavedPassword(saved, L"Bob"), nullptr);
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
  for (const std::wstring& target : SavedAccountTargets({{L"x", L""}, {L"x", L""}, {L"x#3", L""}})) {
    EXPECT_TRUE(IsProgramTarget(target));
  }
}

}  // namespace
}  // namespace fernwick
