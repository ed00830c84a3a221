#include "imaging/working_copies.h"

#include <objbase.h>
#include <objidl.h>

#include <atomic>

#include "base/work_directories.h"
#include "base/gdiplus_handles.h"
#include "imaging/core/copy_rules.h"
#include "imaging/core/quarter_turn.h"
#include "imaging/file_bytes.h"
#include "imaging/photo_item.h"
#include "imaging/picture_io.h"
#include "imaging/upright_copies.h"

namespace fernwick {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Without a work directory the copy gets no name at all rather than a bare file name, which
// would land in whatever the current directory happens to be; writing to it then fails.
std::wstring CopyPathIn(const std::wstring& directory, int32_t fileNumber) {
  return directory.empty() ? std::wstring() : WorkingCopyName(directory, fileNumber);
}

struct StreamTraits {
  using pointer = IStream*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer stream) noexcept { stream->Release(); }
};
using UniqueStream = UniqueResource<StreamTraits>;

WorkingCopy Finish(std::wstring path, bool saved) {
  WorkingCopy copy;
  copy.path = std::move(path);
  copy.size = saved ? static_cast<int32_t>(FileSizeOf(copy.path)) : 0;
  copy.written = saved && copy.size > 0;
  return copy;
}

// Red on the left half, blue on the right: after a turn the top left corner tells which
// way the picture went (red for a quarter turn clockwise, blue for the other two).
GpBitmapPtr MakeProbePicture() {
  GpBitmapPtr probe;
  if (GdipCreateBitmapFromScan0(32, 16, 0, PixelFormat32bppARGB, nullptr, probe.put()) != Ok) return {};
  for (INT y = 0; y < 16; ++y) {
    for (INT x = 0; x < 32; ++x) GdipBitmapSetPixel(probe.get(), x, y, x < 16 ? 0xFFFF0000 : 0xFF0000FF);
  }
  return probe;
}

bool LooksRed(ARGB colour) { return ((colour >> 16) & 0xFF) > 128 && (colour & 0xFF) < 128; }

}  // namespace

int32_t DraftCopyNumber() noexcept {
  static std::atomic<int32_t> last{0};
  return --last;
}

WorkingCopy WriteWorkingCopy(const std::optional<std::vector<uint8_t>>& jpeg, int32_t fileNumber) {
  std::wstring path = CopyPathIn(ScaledCopiesDirectory(), fileNumber);
  ::SetLastError(path.empty() ? ERROR_PATH_NOT_FOUND : 0);  // no work directory to write in
  const bool saved = jpeg && WriteFileBytes(path, *jpeg);
  const DWORD error = saved ? 0 : ::GetLastError();
  WorkingCopy copy = Finish(std::move(path), saved);
  if (!copy.written) copy.error = error;
  return copy;
}

bool EncoderAppliesTransformation(ULONG transformValue) {
  const std::optional<CLSID> encoder = FindJpegEncoder();
  GpBitmapPtr probe = MakeProbePicture();
  if (!encoder || !probe) return false;
  UniqueStream stream;
  if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return false;
  const SingleEncoderParameter parameters(EncoderTransformation, transformValue);
  if (GdipSaveImageToStream(probe.get(), stream.get(), &*encoder, parameters.get()) != Ok) return false;
  LARGE_INTEGER start{};
  stream.get()->Seek(start, STREAM_SEEK_SET, nullptr);
  GpBitmapPtr decoded;
  if (GdipCreateBitmapFromStream(stream.get(), decoded.put()) != Ok) return false;
  const bool quarter = transformValue == 13 || transformValue == 15;
  const uint32_t wantWidth = quarter ? 16 : 32;
  if (PictureWidth(decoded.get()) != wantWidth || PictureHeight(decoded.get()) != 48 - wantWidth) return false;
  ARGB corner = 0;
  if (GdipBitmapGetPixel(decoded.get(), 2, 2, &corner) != Ok) return false;
  return LooksRed(corner) == (transformValue == 13);
}

RotatedCopy WriteRotatedCopy(const std::wstring& sendPath, double angle, int32_t fileNumber) {
  const QuarterTurn turn = TurnForAngle(angle);
  RotatedCopy copy;
  if (turn.degrees == 0) return copy;
  copy.path = CopyPathIn(RotatedCopiesDirectory(), fileNumber);
  copy.degrees = turn.degrees;
  copy.swapsSides = turn.swapsSides;

  // A JPEG is turned by libjpeg-turbo: without decoding where its edges allow, and carrying its
  // metadata either way. Whatever it cannot read goes through GDI+.
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(sendPath);
  if (bytes && LooksLikeJpeg(*bytes)) {
    const std::optional<std::vector<uint8_t>> turned = UprightCopyOfJpeg(*bytes, turn.degrees, std::nullopt);
    if (turned) {
      copy.written = WriteFileBytes(copy.path, *turned);
      return copy;
    }
  }

  GpBitmapPtr full = DecodePicture(sendPath);
  if (!full) return copy;
  const uint32_t width = PictureWidth(full.get());
  const uint32_t height = PictureHeight(full.get());
  // The lossless transformation keeps the JPEG as it was; check that it really turned.
  if (EncoderAppliesTransformation(turn.transformValue) &&
      SaveJpegWithTransformation(full.get(), copy.path, turn.transformValue)) {
    GpBitmapPtr saved = DecodePicture(copy.path);
    const uint32_t wantWidth = turn.swapsSides ? height : width;
    const uint32_t wantHeight = turn.swapsSides ? width : height;
    copy.written = PictureWidth(saved.get()) == wantWidth && PictureHeight(saved.get()) == wantHeight;
  }
  if (!copy.written && TurnPictureClockwise(full.get(), turn.degrees)) {
    copy.written = SaveJpegWithQuality(full.get(), copy.path);
  }
  return copy;
}

void ApplyRotatedCopy(PhotoItem& item, const RotatedCopy& copy) {
  // A copy that could not be written never becomes the photo's: the photo keeps its own file
  // and its turn, so that a later try can still make the copy.
  if (copy.degrees == 0 || !copy.written) return;
  item.sendPath = copy.path;
  item.sendTurn = (item.sendTurn + copy.degrees) % 360;
  if (copy.swapsSides) std::swap(item.width, item.height);
  item.angle = 0;
  // The thumbnail follows, so that the turned photo shows turned with angle 0.
  item.thumbnail.turn = (item.thumbnail.turn + copy.degrees) % 360;
}

}  // namespace fernwick
