#pragma once
// The real main window for in-process tests: template 129 and every handler of the program,
// created modeless; only the photo count is the test's to choose, because the photo list
// belongs to the thumbnail view.
#include "app/main_dialog.h"

namespace fernwick::test {

class TestMainDialog : public MainDialog {
 public:
  unsigned photoCount = 0;

 protected:
  unsigned PhotoCount() const override { return photoCount; }
};

}  // namespace fernwick::test
