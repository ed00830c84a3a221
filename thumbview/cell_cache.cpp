#include "thumbview/cell_cache.h"

#include <algorithm>
#include <new>
#include <utility>

#include "thumbview/sent_mark.h"

namespace fernwick {

namespace {
// Three screens of a small window at 96 DPI: 96 cells of 120 x 120 pixels at 32 bits a pixel.
constexpr size_t kLeastBytes = size_t{96} * 120 * 120 * 4;
constexpr size_t kLeastCapacity = 96;
// A section of 32-bit pixels rather than a bitmap compatible with the window: Wine copies
// such a cell to the window surface and draws into it at about half the cost.
UniqueHBitmap CellBitmap(HDC target, int32_t width, int32_t height, void** pixels = nullptr) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return UniqueHBitmap(::CreateDIBSection(target, &info, DIB_RGB_COLORS, pixels ? pixels : &bits, nullptr, 0));
}

// The cell through GDI alone: the window colour over `all`, the picture and frame of `item` (whose
// content point `origin` the dc's (0, 0) shows) and its mark.
void DrawWholeCell(HDC dc, const PhotoItem& item, const RECT& all, POINT origin) {
  ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_WINDOW));
  item.DrawInCell(dc, origin);
  DrawSentMark(dc, all, item.sentBefore);
}

std::size_t CellBytes(int32_t width, int32_t height) noexcept {
  return std::size_t{4} * static_cast<std::size_t>(std::max(width, 1)) * static_cast<std::size_t>(std::max(height, 1));
}
}  // namespace

CellCache::CellCache() : capacity_(kLeastCapacity) {}

CellCache::Look CellCache::LookOf(const PhotoItem& item, const CellBounds& cell) noexcept {
  return {item.thumbnail.jpeg.data(),  item.thumbnail.turn, item.width,    item.height,     cell.right - cell.left,
          cell.bottom - cell.top,      item.angle,          item.selected, item.sentBefore, ::GetSysColor(COLOR_WINDOW),
          ::GetSysColor(COLOR_BTNFACE)};
}

// Creating a cell's bitmap and freeing one cost about as much as drawing the cell: a cell drawn
// anew takes its own earlier bitmap, or, once the cache is full (with the `pending` cells being
// made), that of the cell used longest ago, when it is of the same size.
UniqueHBitmap CellCache::BitmapFor(HDC target, const PhotoItem& item, const Look& look, std::size_t pending) {
  auto reused = entries_.find(&item);
  if (reused == entries_.end() && entries_.size() + pending >= capacity_) reused = Oldest();
  UniqueHBitmap bitmap;
  if (reused != entries_.end()) {
    const Look& before = reused->second.look;
    if (before.cellWidth == look.cellWidth && before.cellHeight == look.cellHeight) {
      bitmap = std::move(reused->second.bitmap);
    }
    entries_.erase(reused);
  }
  if (!bitmap && !spare_.empty() && look.cellWidth == side_ && look.cellHeight == side_) {
    bitmap = std::move(spare_.back());
    spare_.pop_back();
  }
  if (!bitmap) bitmap = CellBitmap(target, look.cellWidth, look.cellHeight);
  return bitmap;
}

CellCache::Entry& CellCache::Keep(const PhotoItem& item, const Look& look, UniqueHBitmap bitmap) {
  Entry& entry = entries_[&item];
  entry.look = look;
  entry.bitmap = std::move(bitmap);
  entry.lastUse = ++clock_;
  return entry;
}

// A new cell's pixels are written straight into its section, on two threads: the window colour,
// then the thumbnail decoded into place, with no picture of its own to copy (the decode is most
// of a cell's cost). The frame and the mark are drawn after, here, and so is a picture that must
// be turned or did not decode.
void CellCache::PrepareAll(HDC like, std::span<const CellOf> cells) {
  if (!dc_) dc_.reset(::CreateCompatibleDC(like));
  if (!dc_) return;
  // The cells kept count as used now, so that no new one takes the bitmap of one of them.
  std::vector<std::pair<const CellOf*, Look>> fresh;
  for (const CellOf& of : cells) {
    const Look look = LookOf(*of.item, of.cell);
    const auto found = entries_.find(of.item);
    if (found != entries_.end() && found->second.look == look) {
      found->second.lastUse = ++clock_;
    } else {
      fresh.emplace_back(&of, look);
    }
  }
  struct NewCell {
    const CellOf* of;
    Look look;
    UniqueHBitmap bitmap;
    uint8_t* pixels = nullptr;
    bool pictureDrawn = false;
  };
  std::vector<NewCell> made;
  made.reserve(fresh.size());
  for (const auto& [of, look] : fresh) {
    UniqueHBitmap bitmap = BitmapFor(like, *of->item, look, made.size());
    DIBSECTION section{};
    if (!bitmap || ::GetObjectW(bitmap.get(), sizeof(section), &section) != sizeof(section)) continue;
    made.push_back({of, look, std::move(bitmap), static_cast<uint8_t*>(section.dsBm.bmBits)});
  }
  ::GdiFlush();  // what GDI last drew into the sections is in their pixels before they are written
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const uint32_t fill = (uint32_t{GetRValue(window)} << 16) | (uint32_t{GetGValue(window)} << 8) | GetBValue(window);
  pictures_.Run(made.size(), [&](std::size_t at) {
    NewCell& cell = made[at];
    if (!cell.pixels) return;
    const auto width = static_cast<std::size_t>(cell.look.cellWidth);
    const auto height = static_cast<std::size_t>(cell.look.cellHeight);
    std::fill_n(reinterpret_cast<uint32_t*>(cell.pixels), width * height, fill);
    try {
      cell.pictureDrawn = cell.of->item->PutPicture(cell.pixels, 4 * width, cell.look.cellWidth, cell.look.cellHeight,
                                                    POINT{cell.of->cell.left, cell.of->cell.top});
    } catch (const std::bad_alloc&) {
      // drawn by GDI below, which has its own ways of failing quietly
    }
  });
  for (NewCell& cell : made) {
    const PhotoItem& item = *cell.of->item;
    const POINT origin{cell.of->cell.left, cell.of->cell.top};
    const RECT all{0, 0, cell.look.cellWidth, cell.look.cellHeight};
    {
      const SelectScope selected(dc_.get(), cell.bitmap.get());
      if (cell.pictureDrawn) {
        item.DrawFrame(dc_.get(), origin);
        DrawSentMark(dc_.get(), all, item.sentBefore);
      } else {
        DrawWholeCell(dc_.get(), item, all, origin);
      }
    }
    Keep(item, cell.look, std::move(cell.bitmap));
  }
}

void CellCache::Draw(HDC target, const PhotoItem& item, const CellBounds& cell, POINT at) {
  const Look look = LookOf(item, cell);
  const auto kept = [&]() -> Entry* {
    const auto found = entries_.find(&item);
    return found != entries_.end() && found->second.look == look ? &found->second : nullptr;
  };
  Entry* entry = kept();
  if (!entry) {
    const CellOf of{&item, cell};
    PrepareAll(target, std::span(&of, 1));
    entry = kept();
  }
  if (!entry) {
    // No bitmap to spare: drawn straight into the target, as it would be without the cache.
    DrawWholeCell(target, item, RECT{at.x, at.y, at.x + look.cellWidth, at.y + look.cellHeight},
                  POINT{cell.left - at.x, cell.top - at.y});
    return;
  }
  entry->lastUse = ++clock_;
  const SelectScope selected(dc_.get(), entry->bitmap.get());
  ::BitBlt(target, at.x, at.y, look.cellWidth, look.cellHeight, dc_.get(), 0, 0, SRCCOPY);
}

bool CellCache::Holds(const PhotoItem& item, const CellBounds& cell) const noexcept {
  const auto found = entries_.find(&item);
  return found != entries_.end() && found->second.look == LookOf(item, cell);
}

void CellCache::Prepare(HDC like, const PhotoItem& item, const CellBounds& cell) {
  const CellOf of{&item, cell};
  PrepareAll(like, std::span(&of, 1));
}

void CellCache::FitScreen(std::size_t screenCells, int32_t cellSide) noexcept {
  if (cellSide != side_) spare_.clear();
  side_ = cellSide;
  capacity_ = std::max(kScreensKept * screenCells, kLeastBytes / CellBytes(cellSide, cellSide));
  while (entries_.size() > capacity_) entries_.erase(Oldest());
  while (!spare_.empty() && entries_.size() + spare_.size() > capacity_) spare_.pop_back();
}

void CellCache::MakeBitmapsFor(std::size_t cells) {
  const std::size_t wanted = std::min(cells, capacity_);
  while (!spare_.empty() && entries_.size() + spare_.size() > wanted) spare_.pop_back();
  const std::size_t bytes = CellBytes(side_, side_);
  while (side_ > 0 && entries_.size() + spare_.size() < wanted) {
    void* pixels = nullptr;
    UniqueHBitmap bitmap = CellBitmap(nullptr, side_, side_, &pixels);
    if (!bitmap || !pixels) return;
    // One byte a page is enough for the system to give the page its memory now.
    auto* page = static_cast<volatile uint8_t*>(pixels);
    for (std::size_t at = 0; at < bytes; at += 4096) page[at] = 0;
    spare_.push_back(std::move(bitmap));
  }
}

void CellCache::Clear() {
  for (auto& [item, entry] : entries_) {
    if (entry.bitmap && entry.look.cellWidth == side_ && entry.look.cellHeight == side_) {
      spare_.push_back(std::move(entry.bitmap));
    }
  }
  entries_.clear();
}

std::size_t CellCache::Bytes() const noexcept {
  std::size_t bytes = spare_.size() * CellBytes(side_, side_);
  for (const auto& [item, entry] : entries_) bytes += CellBytes(entry.look.cellWidth, entry.look.cellHeight);
  return bytes;
}

CellCache::Entries::iterator CellCache::Oldest() noexcept {
  auto oldest = entries_.begin();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->second.lastUse < oldest->second.lastUse) oldest = it;
  }
  return oldest;
}

}  // namespace fernwick
