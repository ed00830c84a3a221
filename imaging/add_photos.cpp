#include "imaging/add_photos.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "base/core/sha256.h"
#include "base/program_state.h"
#include "base/handles.h"
#include "base/log.h"
#include "base/ui_thread.h"
#include "base/work_directories.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/exif_block.h"
#include "imaging/core/heif_webp_header.h"
#include "imaging/core/jpeg_segments.h"
#include "imaging/core/photo_metadata.h"
#include "imaging/core/resampler.h"
#include "imaging/core/picture_header.h"
#include "imaging/core/pixel_store.h"
#include "imaging/core/path_rules.h"
#include "imaging/photo_item.h"
#include "imaging/photo_list.h"
#include "imaging/file_bytes.h"
#include "imaging/heif_decoder.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_io.h"
#include "imaging/picture_paths.h"
#include "imaging/preparation_report.h"
#include "imaging/upright_copies.h"
#include "imaging/webp_decoder.h"
#include "imaging/working_copies.h"

namespace fernwick {

namespace {

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

// `item` is null when the photo's working copy could not be written; `error` then says why.
struct AddedPicture {
  std::unique_ptr<PhotoItem> item;
  int32_t size = 0;
  DWORD error = 0;
  WrittenCopy copy;
};

// The item of a copy whose pixels are at hand. GDI+ draws the thumbnail from the copy first
// resampled (Lanczos) to twice the thumbnail's box, which holds all the detail a thumbnail can
// show: its own filter over the whole 1024-pixel copy took about 12 ms of a photo's add under
// Wine, the resampler and the small draw take about 4.
std::unique_ptr<PhotoItem> ThumbnailedItem(const std::wstring& path, const PixelBuffer& pixels, int32_t box) {
  if (!ExceedsLimit(pixels.width, pixels.height, 2 * box)) return std::make_unique<PhotoItem>(path, pixels, box);
  const PixelSize shrunk = ScaledSize(pixels.width, pixels.height, 2 * box);
  return std::make_unique<PhotoItem>(path, ResamplePixels(pixels, shrunk.width, shrunk.height),
                                     static_cast<int32_t>(pixels.width), static_cast<int32_t>(pixels.height), box);
}

// `pixels`, when given and not empty, are those the copy was encoded from: its thumbnail is made
// from them instead of decoding the file just written.
AddedPicture ForCopy(int32_t fileNumber, int32_t box, const std::optional<std::vector<uint8_t>>& jpeg,
                     const PixelBuffer* pixels = nullptr) {
  const WorkingCopy copy = WriteWorkingCopy(jpeg, fileNumber);
  if (!copy.written) return {nullptr, 0, copy.error};
  AddedPicture added{pixels && !pixels->pixels.empty() ? ThumbnailedItem(copy.path, *pixels, box)
                                                       : std::make_unique<PhotoItem>(copy.path, box),
                     copy.size};
  added.copy = WrittenCopy(copy.path);
  return added;
}

// A JPEG sent as it is: the library decodes it shrunk towards the thumbnail's size, which costs
// a small part of a full decode through GDI+ (under Wine, most of the time of adding a small
// photo). None when the library cannot read it.
std::optional<AddedPicture> AddedAsItIs(const std::wstring& path, int32_t box, std::span<const uint8_t> bytes,
                                        JpegSize stored) {
  const PixelSize thumbnail = ScaledSize(stored.width, stored.height, box);
  const std::optional<PixelBuffer> shrunk =
      DecodeJpeg(bytes, 3, DecodeDenominatorFor(stored.width, stored.height, thumbnail));
  if (!shrunk) return std::nullopt;
  return AddedPicture{std::make_unique<PhotoItem>(path, *shrunk, static_cast<int32_t>(stored.width),
                                                  static_cast<int32_t>(stored.height), box),
                      static_cast<int32_t>(bytes.size())};
}

// A JPEG that libjpeg-turbo reads: one lying on its side (or mirrored) gets an upright copy, and
// one over the limit a scaled copy, upright too; any other is sent as it is. None when the
// library cannot read it: AddedThroughGdiplus then takes the file.
std::optional<AddedPicture> AddedAsJpeg(const std::wstring& path, int32_t fileNumber, int32_t box,
                                        std::span<const uint8_t> bytes, int32_t limit) {
  if (!LooksLikeJpeg(bytes)) return std::nullopt;
  const std::optional<JpegSize> stored = ReadJpegSize(bytes);
  if (!stored) return std::nullopt;
  const uint16_t orientation = JpegOrientation(bytes);
  const bool swap = SwapsSides(UprightTransform(orientation, 0));
  const bool scale = ExceedsLimit(swap ? stored->height : stored->width, swap ? stored->width : stored->height, limit);
  if (!scale && orientation == 1) return AddedAsItIs(path, box, bytes, *stored);
  std::optional<UprightCopy> copy = UprightCopyWithPixels(bytes, 0, scale ? std::optional(limit) : std::nullopt);
  if (!copy) return std::nullopt;
  std::optional<AddedPicture> added = ForCopy(fileNumber, box, std::move(copy->jpeg), &copy->pixels);
  KeepPixelMemory(std::move(copy->pixels.pixels));
  return added;
}

// A HEIF or WebP file always gets a copy (the service is sent JPEGs), upright and scaled to the
// limit when over it; its thumbnail comes from the copy's pixels. None when it cannot be decoded.
std::optional<AddedPicture> AddedFromContainer(int32_t fileNumber, int32_t box, std::span<const uint8_t> bytes,
                                               ContainerKind kind, int32_t limit) {
  std::optional<DecodedPicture> decoded =
      kind == ContainerKind::kHeif ? DecodeHeif(bytes, limit) : DecodeWebp(bytes, limit);
  if (!decoded) return std::nullopt;
  const bool scale = ExceedsLimit(decoded->pixels.width, decoded->pixels.height, limit);
  std::optional<UprightCopy> copy =
      UprightCopyOfDecoded(std::move(*decoded), scale ? std::optional(limit) : std::nullopt);
  if (!copy) return ForCopy(fileNumber, box, std::nullopt);
  std::optional<AddedPicture> added = ForCopy(fileNumber, box, std::move(copy->jpeg), &copy->pixels);
  // The copy's pixels are the decoded ones: their memory serves this worker's next photo.
  KeepPixelMemory(std::move(copy->pixels.pixels));
  return added;
}

// What GDI+ decodes: a scaled copy over the limit, a same-size JPEG copy for BMP, GIF, PNG and
// TIFF files and for a picture stored turned (a TIFF's own orientation, a JPEG libjpeg-turbo
// could not read); otherwise the user's file as it is. None for files GDI+ cannot decode.
std::optional<AddedPicture> AddedThroughGdiplus(int32_t fileNumber, int32_t box, const std::wstring& path,
                                                std::span<const uint8_t> bytes, int32_t limit) {
  GpBitmapPtr picture = DecodePicture(path);
  uint32_t width = PictureWidth(picture.get());
  if (width == 0) return std::nullopt;
  uint32_t height = PictureHeight(picture.get());
  const uint16_t orientation = LooksLikeJpeg(bytes)   ? JpegOrientation(bytes)
                               : LooksLikeTiff(bytes) ? TiffFileOrientation(bytes)
                                                      : 1;
  if (SwapsSides(UprightTransform(orientation, 0))) std::swap(width, height);
  const bool scale = ExceedsLimit(width, height, limit);
  if (scale || orientation != 1 || IsConvertedExtension(LowerCaseAscii(ExtensionOf(path)))) {
    std::optional<UprightCopy> copy =
        UprightCopyOfPicture(picture.get(), orientation, scale ? std::optional(limit) : std::nullopt, bytes);
    // The thumbnail comes from the pixels just encoded, not from decoding the copy again.
    if (!copy) return ForCopy(fileNumber, box, std::nullopt);
    return ForCopy(fileNumber, box, std::move(copy->jpeg), &copy->pixels);
  }
  // Sent as it is: the picture already decoded is the one the item shows.
  return AddedPicture{std::make_unique<PhotoItem>(path, picture.get(), box), static_cast<int32_t>(FileSizeOf(path))};
}

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

}  // namespace

WrittenCopy& WrittenCopy::operator=(WrittenCopy&& other) noexcept {
  if (this != &other) {
    Delete();
    path_ = std::exchange(other.path_, {});
  }
  return *this;
}

void WrittenCopy::Delete() noexcept {
  if (path_.empty()) return;
  if (!::DeleteFileW(path_.c_str()))
    LogLastError("adding photos: a working copy of a photo left out cannot be deleted");
  path_.clear();
}

PreparedPhoto PreparePhoto(const std::wstring& path, int32_t limit, int32_t fileNumber, int32_t box) {
  PreparedPhoto prepared;
  prepared.path = path;
  // A file that cannot be read here (over 1 GB, locked) is never handed to GDI+ unchecked.
  std::optional<std::vector<uint8_t>> read = ReadFileBytes(path, ReadBeside::kReadersOnly, ReusedFileMemory());
  if (!read) return prepared;
  const std::vector<uint8_t>& bytes = *read;
  // However the photo ends, the memory its file was read into serves this thread's next one.
  const struct FileMemoryKept {
    std::vector<uint8_t>& bytes;
    ~FileMemoryKept() { KeepFileMemory(std::move(bytes)); }
  } kept{*read};
  // A header that claims more pixels than memory could hold, or a JPEG whose scans would take
  // minutes to decode, is passed over before any decoder sees it.
  if (JpegTooLargeToDecode(bytes) || PictureTooLargeToDecode(bytes) || ContainerTooLargeToDecode(bytes) ||
      CountJpegScans(bytes, kMostJpegScans) > kMostJpegScans) {
    return prepared;
  }
  // The bytes decide the decoder, whatever the file's name says.
  const ContainerKind kind = SniffContainer(bytes);
  std::optional<AddedPicture> added;
  if (kind != ContainerKind::kOther) {
    added = AddedFromContainer(fileNumber, box, bytes, kind, limit);
  } else {
    added = AddedAsJpeg(path, fileNumber, box, bytes, limit);
    if (!added) added = AddedThroughGdiplus(fileNumber, box, path, bytes, limit);
  }
  if (!added) return prepared;
  if (!added->item) {
    prepared.outcome = PreparedPhoto::Outcome::kCopyNotWritten;
    prepared.error = added->error;
    return prepared;
  }
  added->item->fileSize = added->size;
  added->item->sourcePath = path;
  added->item->title = PhotoTitle(path);
  // The bytes are in memory already: the file is not read a second time for its hash.
  added->item->original = Sha256Of(bytes);
  prepared.outcome = PreparedPhoto::Outcome::kPhoto;
  prepared.item = std::move(added->item);
  prepared.copy = std::move(added->copy);
  return prepared;
}

bool ApplyPreparedPhoto(PhotoList& photos, PreparedPhoto prepared, PreparationReport* report) {
  AssertUiThread();
  switch (prepared.outcome) {
    case PreparedPhoto::Outcome::kNotAPicture:
      return false;
    case PreparedPhoto::Outcome::kCopyNotWritten:
      // Never an empty frame that would upload nothing: the photo is left out, and said so.
      if (report) report->Add(FileNameOf(prepared.path), prepared.error);
      return false;
    case PreparedPhoto::Outcome::kPhoto:
      break;
  }
  // The list may have taken the same file while this one was being prepared.
  if (!prepared.item || photos.ContainsSourcePath(prepared.path)) return false;
  if (!prepared.copy.path().empty()) {
    // The copy takes its number only now, so copies are numbered in the order their photos
    // enter the list, without a gap for a photo sent as it is or left out.
    const std::wstring numbered = WorkingCopyName(ScaledCopiesDirectory(), photos.NextFileNumber());
    if (!::MoveFileExW(prepared.copy.path().c_str(), numbered.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      const DWORD error = ::GetLastError();
      LogLastError("adding photos: a working copy cannot be given its number");
      if (report) report->Add(FileNameOf(prepared.path), error);
      return false;
    }
    photos.TakeFileNumber();
    prepared.item->sendPath = numbered;
  }
  prepared.copy.Keep();
  photos.AppendAndSelect(std::move(prepared.item));
  return true;
}

bool AddPhoto(PhotoList& photos, const std::wstring& path, int32_t limit, PreparationReport* report) {
  if (photos.ContainsSourcePath(path)) return false;
  return ApplyPreparedPhoto(photos, PreparePhoto(path, limit, DraftCopyNumber(), photos.thumbnailBox()), report);
}

BOOL RunOpenFileDialog(OPENFILENAMEW& dialog) { return ::GetOpenFileNameW(&dialog); }

std::wstring OpenDialogFilter() {
  static constexpr std::array<std::wstring_view, 16> kFilter{L"All Image Files",
                                                             L"*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.png;*.tif;*.tiff;"
                                                             L"*.heic;*.heif;*.hif;*.webp",
                                                             L"BMP  (*.bmp)",
                                                             L"*.bmp",
                                                             L"JPEG (*.jpg;*.jpeg;*.jpe)",
                                                             L"*.jpg;*.jpeg;*.jpe",
                                                             L"GIF  (*.gif)",
                                                             L"*.gif",
                                                             L"PNG  (*.png)",
                                                             L"*.png",
                                                             L"TIFF (*.tif;*.tiff)",
                                                             L"*.tif;*.tiff",
                                                             L"HEIF (*.heic;*.heif;*.hif)",
                                                             L"*.heic;*.heif;*.hif",
                                                             L"WebP (*.webp)",
                                                             L"*.webp"};
  std::wstring filter;
  for (std::wstring_view part : kFilter) {
    filter.append(part);
    filter.push_back(L'\0');
  }
  filter.push_back(L'\0');
  return filter;
}

std::optional<ChosenFiles> ChooseFilesWithDialog(HWND owner, const OpenFileDialogRunner& run) {
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
  if (!run(dialog)) return std::nullopt;
  return ChosenFiles{SplitOpenFileResult(files.data(), files.size()), dialog.hwndOwner};
}

std::vector<std::wstring> DroppedPaths(HDROP dropped) {
  const UniqueDrop owned(dropped);
  HDROP drop = owned.get();
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::wstring> paths;
  for (UINT i = 0; i < count; ++i) {
    // The buffer is made as long as the name, so no name comes back cut short.
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    if (::DragQueryFileW(drop, i, path.data(), length + 1) != length) continue;
    path.resize(length);
    paths.push_back(std::move(path));
  }
  return paths;
}

bool AddDroppedFiles(HDROP dropped, PhotoList& photos, HWND owner) {
  const std::vector<std::wstring> paths = PicturesInPaths(DroppedPaths(dropped));
  PreparationReport report;
  for (const std::wstring& path : paths) AddPhoto(photos, path, SizeLimit(), &report);
  report.Show(owner ? ::GetAncestor(owner, GA_ROOT) : nullptr);
  return !paths.empty();
}

}  // namespace fernwick
