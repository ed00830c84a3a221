#include "thumbview/cell_cache.h"

#include "thumbview/sent_mark.h"

namespace fernwick {

namespace {
// A few screens of cells of 120 x 120 pixels: about 6 MB at 32 bits a pixel.
constexpr size_t kMostCells = 96;
}  // namespace

CellCache::Look CellCache::LookOf(const PhotoItem& item, const CellBounds& cell) noexcept {
  return {item.thumbnail.jpeg.data(),  item.thumbnail.turn, item.width,    item.height,     cell.right - cell.left,
          cell.bottom - cell.top,      item.angle,          item.selected, item.sentBefore, ::GetSysColor(COLOR_WINDOW),
          ::GetSysColor(COLOR_BTNFACE)};
}

CellCache::Entry* CellCache::Render(HDC target, const PhotoItem& item, const CellBounds& cell, const Look& look) {
  if (!dc_) dc_.reset(::CreateCompatibleDC(target));
  UniqueHBitmap bitmap(::CreateCompatibleBitmap(target, look.cellWidth, look.cellHeight));
  if (!dc_ || !bitmap) return nullptr;
  {
    const SelectScope selected(dc_.get(), bitmap.get());
    const RECT all{0, 0, look.cellWidth, look.cellHeight};
    ::FillRect(dc_.get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
    item.DrawInCell(dc_.get(), POINT{cell.left, cell.top});
    DrawSentMark(dc_.get(), all, item.sentBefore);
  }
  if (entries_.size() >= kMostCells && !entries_.contains(&item)) DropOldest();
  Entry& entry = entries_[&item];
  entry.look = look;
  entry.bitmap = std::move(bitmap);
  return &entry;
}

void CellCache::Draw(HDC target, const PhotoItem& item, const CellBounds& cell, POINT at) {
  const Look look = LookOf(item, cell);
  const auto found = entries_.find(&item);
  Entry* entry =
      found != entries_.end() && found->second.look == look ? &found->second : Render(target, item, cell, look);
  if (!entry) {
    // No bitmap to spare: drawn straight into the target, as it would be without the cache.
    item.DrawInCell(target, POINT{cell.left - at.x, cell.top - at.y});
    DrawSentMark(target, RECT{at.x, at.y, at.x + look.cellWidth, at.y + look.cellHeight}, item.sentBefore);
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

void CellCache::Clear() noexcept { entries_.clear(); }

void CellCache::DropOldest() noexcept {
  auto oldest = entries_.begin();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->second.lastUse < oldest->second.lastUse) oldest = it;
  }
  if (oldest != entries_.end()) entries_.erase(oldest);
}

}  // namespace fernwick
