#include <gtest/gtest.h>

#include "base/file_name_set.h"

namespace fernwick {
namespace {

// One file is one entry however its name is cased; what Windows keeps apart stays apart.
TEST(FileNameSet, ComparesAsWindowsComparesFileNames) {
  const struct {
    const wchar_t *listed, *asked;
    bool same;
  } rows[] = {{L"C:\\A.JPG", L"c:\\a.jpg", true},
              {L"C:\\Café\\Лето.jpg", L"c:\\CAFÉ\\ЛЕТО.JPG", true},
              {L"E:\\\uFF21.jpg", L"e:\\\uFF41.JPG", true},
              {L"C:\\Straße.jpg", L"C:\\STRASSE.JPG", false},
              {L"C:\\a.jpg", L"C:\\a.jpeg", false}};
  for (const auto& row : rows) {
    FileNameSet set;
    EXPECT_TRUE(set.Insert(row.listed));
    EXPECT_EQ(set.Insert(row.asked), !row.same) << "a second name of the listed file is counted, not listed";
    set.Erase(row.asked);
    EXPECT_EQ(set.Contains(row.asked), row.same) << "counted twice, still in after one is taken out";
    set.Erase(row.listed);
    EXPECT_EQ(set.size(), 0u);
  }
}

}  // namespace
}  // namespace fernwick
