#include "picture_copies.h"

#include <optional>

#include "imaging/upright_copies.h"

namespace fernwick::test {

namespace {
WorkingCopy Write(std::optional<UprightCopy> copy, int32_t fileNumber) {
  return WriteWorkingCopy(copy ? std::optional(std::move(copy->jpeg)) : std::nullopt, fileNumber);
}
}  // namespace

WorkingCopy ScaleToLimit(Gdiplus::GpBitmap* picture, int32_t limit, int32_t fileNumber) {
  return Write(UprightCopyOfPicture(picture, 1, limit, {}), fileNumber);
}

WorkingCopy ReEncodeAsJpeg(Gdiplus::GpBitmap* picture, int32_t fileNumber) {
  return Write(UprightCopyOfPicture(picture, 1, std::nullopt, {}), fileNumber);
}

}  // namespace fernwick::test
