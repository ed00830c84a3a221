#include "imaging/picture_io.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fernwick {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GpBitmapPtr DecodePicture(const std::wstring& path) {
  if (path.empty()) return {};
  GpBitmapPtr picture;
  if (GdipCreateBitmapFromFile(path.c_str(), picture.put()) != Ok) picture.reset();
  return picture;
}

uint32_t PictureWidth(GpBitmap* picture) noexcept {
  UINT width = 0;
  if (!picture || GdipGetImageWidth(picture, &width) != Ok) return 0;
  return width;
}

uint32_t PictureHeight(GpBitmap* picture) noexcept {
  UINT height = 0;
  if (!picture || GdipGetImageHeight(picture, &height) != Ok) return 0;
  return height;
}

std::optional<CLSID> FindJpegEncoder() { return FindEncoder(L"image/jpeg"); }

SingleEncoderParameter::SingleEncoderParameter(const GUID& parameter, ULONG value) noexcept : value_(value) {
  list_.Count = 1;
  list_.Parameter[0].Guid = parameter;
  list_.Parameter[0].Type = EncoderParameterValueTypeLong;
  list_.Parameter[0].NumberOfValues = 1;
  list_.Parameter[0].Value = &value_;
}

std::optional<CLSID> FindEncoder(const wchar_t* mimeType) {
  UINT count = 0;
  UINT bytes = 0;
  if (GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0 || count == 0) return std::nullopt;
  // ImageCodecInfo records are followed by the strings they point into: one block of `bytes`.
  std::vector<ImageCodecInfo> block((bytes + sizeof(ImageCodecInfo) - 1) / sizeof(ImageCodecInfo));
  if (GdipGetImageEncoders(count, bytes, block.data()) != Ok) return std::nullopt;
  for (UINT i = 0; i < count; ++i) {
    if (block[i].MimeType && std::wcscmp(block[i].MimeType, mimeType) == 0) return block[i].Clsid;
  }
  return std::nullopt;
}

namespace {
bool SaveJpeg(GpBitmap* picture, const std::wstring& path, const GUID& parameter, ULONG value) {
  if (!picture || path.empty()) return false;
  const std::optional<CLSID> encoder = FindJpegEncoder();
  if (!encoder) return false;
  const SingleEncoderParameter parameters(parameter, value);
  // A file left at this name (an earlier run's copy, a failed save) must not pass for ours.
  ::DeleteFileW(path.c_str());
  if (GdipSaveImageToFile(picture, path.c_str(), &*encoder, parameters.get()) != Ok) return false;
  return FileSizeOf(path) > 0;
}
}  // namespace

bool SaveJpegWithQuality(GpBitmap* picture, const std::wstring& path, ULONG quality) {
  return SaveJpeg(picture, path, EncoderQuality, quality);
}

bool SaveJpegWithTransformation(GpBitmap* picture, const std::wstring& path, ULONG transformValue) {
  return SaveJpeg(picture, path, EncoderTransformation, transformValue);
}

bool TurnPictureClockwise(GpBitmap* picture, int32_t degrees) noexcept {
  if (!picture) return false;
  const RotateFlipType turn = degrees == 90    ? Rotate90FlipNone
                              : degrees == 180 ? Rotate180FlipNone
                              : degrees == 270 ? Rotate270FlipNone
                                               : RotateNoneFlipNone;
  return GdipImageRotateFlip(picture, turn) == Ok;
}

uint32_t FileSizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return data.nFileSizeLow;
}

}  // namespace fernwick
