#pragma once
// One photo of the upload batch: the file the user chose, the file that will be sent, its
// size and turn, and where its thumbnail sits in the grid (PhotoGeometry).
//
// `thumbnail` is kept at thumbnail size (the longer side at most the box, 100 pixels at 96 DPI,
// the grid's box at another) and compressed: the grid and the progress page never draw larger,
// and a list of thousands of photos must hold neither their full-size pictures nor a bitmap of
// the box for each. Drawing decodes it, turns it by the photo's angle and copies it with plain
// GDI into the rectangle the turned full picture would cover at the thumbnail scale.
#include <windows.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/core/sha256.h"
#include "base/gdiplus_handles.h"
#include "imaging/compressed_thumbnail.h"
#include "imaging/core/photo_geometry.h"
#include "imaging/core/pixel_buffer.h"

namespace fernwick {

class PhotoItem : public PhotoGeometry {
 public:
  // Decodes `path` (the future sendPath) and keeps a thumbnail made for a square of `box`
  // pixels. An undecodable file leaves width and height 0 and no picture; the item then shows
  // only its frame.
  explicit PhotoItem(const std::wstring& path, int32_t box = kThumbnailBox);
  // The same, from a picture already decoded from `path`.
  PhotoItem(const std::wstring& path, Gdiplus::GpBitmap* decoded, int32_t box = kThumbnailBox);
  // The same, from the pixels `path` was encoded from (a working copy just made): the thumbnail
  // is made as from the decoded file, without reading it back.
  PhotoItem(const std::wstring& path, const PixelBuffer& pixels, int32_t box = kThumbnailBox);
  // The same for a picture of width x height decoded shrunk (to no less than the thumbnail's
  // size): the item's size is the full picture's, its thumbnail looks as if made from it.
  PhotoItem(const std::wstring& path, const PixelBuffer& shrunk, int32_t width, int32_t height,
            int32_t box = kThumbnailBox);

  virtual ~PhotoItem();
  PhotoItem(PhotoItem&&) = default;
  PhotoItem& operator=(PhotoItem&&) = default;

  // Draws the thumbnail and its frame. `origin` is the content point that the dc's (0, 0)
  // shows (the top left of the part being painted).
  void DrawInCell(HDC dc, POINT origin = {0, 0}) const;
  // The frame alone, 4 pixels out from the thumbnail's box, in the selected or the plain colour.
  void DrawFrame(HDC dc, POINT origin) const;
  // What DrawInCell draws of the picture (not the frame), written straight into 4-byte pixels of
  // width x height (row y at rows + y * stride) whose top left shows the content point `origin`:
  // the thumbnail decoded into place, without a dc. Only reads the item, so another thread may
  // do it while the item's owner waits. False, with part of it perhaps written, where DrawInCell
  // must draw it instead: a picture turned in the list, outside the pixels, or not decoding.
  bool PutPicture(uint8_t* rows, std::size_t stride, int32_t pixelsWide, int32_t pixelsHigh, POINT origin) const;
  // Draws the picture fitted into a `box`-pixel square centred on (x, y) inside a plain
  // Rectangle drawn with the dc's pen and brush.
  void DrawFitted(HDC dc, int32_t x, int32_t y, int32_t box) const;

  std::wstring sendPath;
  CompressedThumbnail thumbnail;  // empty when the file did not decode
  bool selected = false;
  int32_t fileSize = 0;
  std::wstring title;       // shown as it is; only the upload turns it into code page 936 bytes
  std::wstring sourcePath;  // set before the item enters a list, which keeps it in a set
  // Degrees clockwise (0, 90, 180, 270) by which sendPath is already turned from sourcePath: a
  // turned copy that became the photo's, so that the turn the user gave the original is kept.
  int32_t sendTurn = 0;
  // The SHA-256 of sourcePath's bytes as they were read to add the photo: what the upload
  // history knows a photo by, whatever working copy is sent.
  Sha256Digest original{};
  // Whether the current account already uploaded this photo (the grid marks it), and the date
  // ("yyyy-MM-dd") when it did; kept up to date by the window as accounts and batches change.
  enum class SentBefore { kNo, kYes, kMaybe };
  SentBefore sentBefore = SentBefore::kNo;
  std::wstring sentDate;

 private:
  PhotoItem(const std::wstring& path, Gdiplus::GpBitmap* decoded, int32_t width, int32_t height, int32_t box);
  // The thumbnail turned by the angle, at `scale` of the full picture, centred on (x, y).
  void DrawPicture(HDC dc, int32_t x, int32_t y, double scale) const;
};

// The frame colours of the grid.
inline constexpr COLORREF kSelectedFrameColour = RGB(0, 128, 255);

}  // namespace fernwick
