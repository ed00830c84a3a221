#pragma once
// Decoding, measuring and JPEG-encoding pictures through the GDI+ flat interface. Paths are
// UTF-16, as GDI+ and the wide file functions take them.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/gdiplus_handles.h"

namespace fernwick {

// The decoded picture, or none when the file is missing or no picture GDI+ can read.
GpBitmapPtr DecodePicture(const std::wstring& path);

// 0 when the picture is missing or the call fails.
uint32_t PictureWidth(Gdiplus::GpBitmap* picture) noexcept;
uint32_t PictureHeight(Gdiplus::GpBitmap* picture) noexcept;

// The class id of the first installed encoder with this MIME type, e.g. L"image/png".
std::optional<CLSID> FindEncoder(const wchar_t* mimeType);
// The class id of the installed encoder whose MIME type is "image/jpeg".
std::optional<CLSID> FindJpegEncoder();

// An encoder parameter list with exactly one entry of one long value. It points into
// itself, so it is neither copied nor moved.
class SingleEncoderParameter {
 public:
  SingleEncoderParameter(const GUID& parameter, ULONG value) noexcept;
  SingleEncoderParameter(const SingleEncoderParameter&) = delete;
  SingleEncoderParameter& operator=(const SingleEncoderParameter&) = delete;
  const Gdiplus::EncoderParameters* get() const noexcept { return &list_; }

 private:
  ULONG value_;
  Gdiplus::EncoderParameters list_{};
};

// Saves as JPEG with quality 90. False when nothing usable was written.
bool SaveJpegWithQuality(Gdiplus::GpBitmap* picture, const std::wstring& path, ULONG quality = 90);
// Saves as JPEG with the encoder's lossless transformation (13, 14 or 15) as the only parameter.
bool SaveJpegWithTransformation(Gdiplus::GpBitmap* picture, const std::wstring& path, ULONG transformValue);

// Turns the picture's pixels clockwise by 90, 180 or 270 degrees; any other value leaves them.
// False when there is no picture or GDI+ fails.
bool TurnPictureClockwise(Gdiplus::GpBitmap* picture, int32_t degrees) noexcept;

// Low 32 bits of the file's size from GetFileAttributesExW; 0 when it cannot be read.
uint32_t FileSizeOf(const std::wstring& path);

}  // namespace fernwick
