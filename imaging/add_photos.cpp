#include "imaging/add_photos.h"

#include <array>
#include <memory>

#include "base/program_state.h"
#include "base/handles.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/path_rules.h"
#include "imaging/photo_item.h"
#include "imaging/photo_list.h"
#include "imaging/picture_io.h"
#include "imaging/working_copies.h"

namespace fernwick {

namespace {

std::unique_ptr<PhotoItem> ItemForCopy(const WorkingCopy& copy) {
  if (!copy.written) return std::make_unique<PhotoItem>(PhotoItem::WithoutPicture(copy.path));
  return std::make_unique<PhotoItem>(copy.path);
}

// The drop's memory goes back to the system on every way out, an exception included.
struct DropTraits {
  using pointer = HDROP;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer drop) noexcept { ::DragFinish(drop); }
};
using UniqueDrop = UniqueResource<DropTraits>;

// The explorer-style dialog needs a hook procedure once OFN_ENABLEHOOK is set; it has
// nothing to add.
UINT_PTR CALLBACK OpenDialogHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

bool OlderThanWindowsMe() {
  const DWORD version = ::GetVersion();
  const BYTE major = LOBYTE(LOWORD(version));
  const BYTE minor = HIBYTE(LOWORD(version));
  return major < 4 || (major == 4 && minor < 90);
}

}  // namespace

bool AddPhoto(PhotoList& photos, const std::wstring& path, int32_t limit) {
  if (photos.ContainsSourcePath(path)) return false;
  GpBitmapPtr picture = DecodePicture(path);
  const uint32_t width = PictureWidth(picture.get());
  if (width == 0) return false;
  const uint32_t height = PictureHeight(picture.get());

  std::unique_ptr<PhotoItem> item;
  int32_t size = 0;
  if (ExceedsLimit(width, height, limit)) {
    const WorkingCopy copy = ScaleToLimit(picture.get(), limit, photos.TakeFileNumber());
    item = ItemForCopy(copy);
    size = copy.size;
  } else if (IsConvertedExtension(LowerCaseAscii(ExtensionOf(path)))) {
    const WorkingCopy copy = ReEncodeAsJpeg(picture.get(), photos.TakeFileNumber());
    item = ItemForCopy(copy);
    size = copy.size;
  } else {
    // Sent as it is: the picture already decoded is the one the item shows.
    item = std::make_unique<PhotoItem>(path, picture.get());
    size = static_cast<int32_t>(FileSizeOf(path));
  }
  item->fileSize = size;
  item->sourcePath = path;
  item->title = PhotoTitle(path);
  photos.AppendAndSelect(std::move(item));
  return true;
}

BOOL RunOpenFileDialog(OPENFILENAMEW& dialog) { return ::GetOpenFileNameW(&dialog); }

std::wstring OpenDialogFilter() {
  static constexpr std::array<std::wstring_view, 12> kFilter{L"All Image Files",
                                                             L"*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.png;*.tif;*.tiff",
                                                             L"BMP  (*.bmp)",
                                                             L"*.bmp",
                                                             L"JPEG (*.jpg;*.jpeg;*.jpe)",
                                                             L"*.jpg;*.jpeg;*.jpe",
                                                             L"GIF  (*.gif)",
                                                             L"*.gif",
                                                             L"PNG  (*.png)",
                                                             L"*.png",
                                                             L"TIFF (*.tif;*.tiff)",
                                                             L"*.tif;*.tiff"};
  std::wstring filter;
  for (std::wstring_view part : kFilter) {
    filter.append(part);
    filter.push_back(L'\0');
  }
  filter.push_back(L'\0');
  return filter;
}

bool AddPhotosWithDialog(HWND owner, PhotoList& photos, const OpenFileDialogRunner& run) {
  // nMaxFile and nMaxFileTitle count characters, not bytes.
  std::array<wchar_t, 4096> files{};
  std::array<wchar_t, 256> title{};
  const std::wstring filter = OpenDialogFilter();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = OlderThanWindowsMe() ? OPENFILENAME_SIZE_VERSION_400W : sizeof(OPENFILENAMEW);
  dialog.hwndOwner = owner ? owner : ::GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = files.data();
  dialog.nMaxFile = static_cast<DWORD>(files.size());
  dialog.lpstrFileTitle = title.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(title.size());
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
  dialog.lpfnHook = &OpenDialogHook;
  if (!run(dialog)) return false;
  for (const std::wstring& path : SplitOpenFileResult(files.data(), files.size())) AddPhoto(photos, path, SizeLimit());
  return true;
}

bool AddDroppedFiles(HDROP dropped, PhotoList& photos) {
  const UniqueDrop owned(dropped);
  HDROP drop = owned.get();
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  bool accepted = false;
  for (UINT i = 0; i < count; ++i) {
    // The buffer is made as long as the name, so no name comes back cut short.
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    if (::DragQueryFileW(drop, i, path.data(), length + 1) != length) continue;
    path.resize(length);
    if (!IsDropExtension(LowerCaseAscii(ExtensionOf(path)))) continue;
    AddPhoto(photos, path, SizeLimit());
    accepted = true;
  }
  return accepted;
}

}  // namespace fernwick
