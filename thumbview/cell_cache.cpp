#include "thumbview/cell_cache.h"

#include <algorithm>

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
// anew takes its own earlier bitmap, or, once the cache is full, that of the cell used longest
// ago, when it is of the same size.
UniqueHBitmap CellCache::BitmapFor(HDC target, const PhotoItem& item, const Look& look) {
  auto reused = entries_.find(&item);
  if (reused == entries_.end() && entries_.size() >= capacity_) reused = Oldest();
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

CellCache::Entry* CellCache::Render(HDC target, const PhotoItem& item, const CellBounds& cell, const Look& look) {
  if (!dc_) dc_.reset(::CreateCompatibleDC(target));
  if (!dc_) return nullptr;
  UniqueHBitmap bitmap = BitmapFor(target, item, look);
  if (!bitmap) return nullptr;
  {
    const SelectScope selected(dc_.get(), bitmap.get());
    const RECT all{0, 0, look.cellWidth, look.cellHeight};
    ::FillRect(dc_.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
    item.DrawInCell(dc_.get(), POINT{cell.left, cell.top});
    DrawSentMark(dc_.get(), all, item.sentBefore);
  }
  Entry& entry = entries_[&item];
  entry.look = look;
  entry.bitmap = std::move(bitmap);
  entry.lastUse = ++clock_;
  return &entry;
}

void CellCache::Draw(HDC target, const PhotoItem& item, const CellBounds& cell, POINT at) {
  const Look look = LookOf(item, cell);
  const auto found = entries_.find(&item);
  Entry* entry =
      found != entries_.end() && found->second.look == look ? &found->second : Render(target, item, cell, look);
  if (!entry) {
    // No bitmap to spare: drawn straight into the target, as it would be without the cache.
    const RECT all{at.x, at.y, at.x + look.cellWidth, at.y + look.cellHeight};
    ::FillRect(target, &all, ::GetSysColorBrush(COLOR_WINDOW));
    item.DrawInCell(target, POINT{cell.left - at.x, cell.top - at.y});
    DrawSentMark(target, all, item.sentBefore);
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
  if (!Holds(item, cell)) Render(like, item, cell, LookOf(item, cell));
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
