#pragma once
// The grid's cells as they were last drawn, one bitmap each, so that scrolling over photos
// already seen copies them instead of decoding and turning each thumbnail again. A cell is drawn
// anew when what it shows changes (turn, selection, picture, colours, cell size). Only the cells
// used last are kept, so memory does not grow with the list: the view sets the bound from its
// size (see ThumbnailView::FitCellCache).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "base/handles.h"
#include "base/shared_work.h"
#include "imaging/photo_item.h"
#include "thumbview/core/grid_layout.h"

namespace fernwick {

class CellCache {
 public:
  CellCache();
  // Puts the cell of `item` (window colour, picture, frame and the mark of a photo sent before), which covers `cell` in
  // content coordinates, into `target` with its top left at `at`.
  void Draw(HDC target, const PhotoItem& item, const CellBounds& cell, POINT at);
  // True when the cell of `item` is kept as it looks now: painting it would change nothing.
  bool Holds(const PhotoItem& item, const CellBounds& cell) const noexcept;
  // Draws the cell of `item` into the cache without showing it, unless it is kept as it looks
  // now; `like` is a dc of the window it will be shown in.
  void Prepare(HDC like, const PhotoItem& item, const CellBounds& cell);
  // The same for many cells at once (a notch's new screen): their pictures are decoded straight
  // into their bitmaps by this thread and a helper together, and the rest drawn here.
  struct CellOf {
    const PhotoItem* item;
    CellBounds cell;
  };
  void PrepareAll(HDC like, std::span<const CellOf> cells);
  // Sets how many cells are kept at the most (the least used go first), for a view whose screen
  // shows up to `screenCells` cells of side `cellSide`: kScreensKept screens, and no fewer
  // cells than kLeastBytes hold (more screens in a small window). A bound in bytes rather than
  // cells, so that the cells' memory does not grow fourfold at 192 DPI.
  void FitScreen(std::size_t screenCells, int32_t cellSide) noexcept;
  // The screens' worth of cells kept: the one shown and the one a wheel notch either way shows,
  // which the view draws ahead while it is idle.
  static constexpr std::size_t kScreensKept = 3;
  // Makes bitmaps for cells not drawn yet, or lets spare ones go, until `cells` cells (at most
  // the bound) have one. Each is written once as it is made: the first write to fresh memory is
  // dear, and the first notches after a layout would pay it for every one of their new cells.
  void MakeBitmapsFor(std::size_t cells);
  // Forgets every cell: after the list changed, when an item's address may come back for
  // another photo. Their bitmaps are kept for the cells drawn next.
  void Clear();
  // How many cells are kept, and the pixels' bytes of every bitmap held, spare ones too.
  std::size_t size() const noexcept { return entries_.size(); }
  std::size_t Bytes() const noexcept;

 private:
  // What a cell's pixels depend on.
  struct Look {
    const void* picture = nullptr;
    int32_t pictureTurn = 0;
    int32_t width = 0, height = 0, cellWidth = 0, cellHeight = 0;
    double angle = 0;
    bool selected = false;
    PhotoItem::SentBefore sent = PhotoItem::SentBefore::kNo;
    COLORREF window = 0, frame = 0;
    bool operator==(const Look&) const = default;
  };
  struct Entry {
    Look look;
    UniqueHBitmap bitmap;
    uint64_t lastUse = 0;
  };
  static Look LookOf(const PhotoItem& item, const CellBounds& cell) noexcept;
  using Entries = std::unordered_map<const PhotoItem*, Entry>;
  UniqueHBitmap BitmapFor(HDC target, const PhotoItem& item, const Look& look, std::size_t pending);
  // Keeps `bitmap` as the cell of `item` that looks like `look`.
  Entry& Keep(const PhotoItem& item, const Look& look, UniqueHBitmap bitmap);
  // The entry used longest ago; end() when there is none.
  Entries::iterator Oldest() noexcept;

  Entries entries_;
  std::vector<UniqueHBitmap> spare_;  // bitmaps of side_ by side_ holding no cell
  int32_t side_ = 0;
  UniqueMemoryDc dc_;
  uint64_t clock_ = 0;
  std::size_t capacity_;
  SharedWork pictures_;  // decodes cells' pictures beside the window's thread
};

}  // namespace fernwick
