#include "dialog_add.h"

#include "base/program_state.h"
#include "imaging/preparation_report.h"

namespace fernwick::test {

bool AddPhotosWithDialog(HWND owner, PhotoList& photos, const OpenFileDialogRunner& run) {
  const std::optional<ChosenFiles> chosen = ChooseFilesWithDialog(owner, run);
  if (!chosen) return false;
  PreparationReport report;
  for (const std::wstring& path : chosen->paths) AddPhoto(photos, path, SizeLimit(), &report);
  report.Show(chosen->owner);
  return true;
}

}  // namespace fernwick::test
