#include "thumbview/sent_mark.h"

#include <array>

#include "base/handles.h"

namespace fernwick {

namespace {
constexpr COLORREF kSentColour = RGB(0, 150, 70);
constexpr COLORREF kMaybeColour = RGB(230, 140, 0);
// At the cell of 120 pixels of a 96-DPI screen: a disc of 18 pixels, 3 in from the corner.
constexpr int kCellSide = 120;
constexpr int kDiscSide = 18;
constexpr int kInset = 3;
}  // namespace

void DrawSentMark(HDC dc, const RECT& cell, PhotoItem::SentBefore sent) {
  if (sent == PhotoItem::SentBefore::kNo) return;
  const int width = cell.right - cell.left;
  const int side = std::max(8, width * kDiscSide / kCellSide);
  const int inset = width * kInset / kCellSide;
  const int left = cell.right - inset - side;
  const int top = cell.top + inset;
  const COLORREF colour = sent == PhotoItem::SentBefore::kYes ? kSentColour : kMaybeColour;
  const UniqueHBrush disc(::CreateSolidBrush(colour));
  const UniqueHPen outline(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  const UniqueHPen stroke(::CreatePen(PS_SOLID, std::max(2, side / 7), RGB(255, 255, 255)));
  if (!disc || !outline || !stroke) return;
  {
    const SelectScope brush(dc, disc.get());
    const SelectScope pen(dc, outline.get());
    ::Ellipse(dc, left, top, left + side, top + side);
  }
  const SelectScope pen(dc, stroke.get());
  if (sent == PhotoItem::SentBefore::kYes) {
    const std::array<POINT, 3> tick{POINT{left + side * 5 / 18, top + side * 9 / 18},
                                    POINT{left + side * 8 / 18, top + side * 12 / 18},
                                    POINT{left + side * 13 / 18, top + side * 6 / 18}};
    ::Polyline(dc, tick.data(), static_cast<int>(tick.size()));
  } else {
    const int middle = left + side / 2;
    ::MoveToEx(dc, middle, top + side * 4 / 18, nullptr);
    ::LineTo(dc, middle, top + side * 10 / 18);
    ::MoveToEx(dc, middle, top + side * 13 / 18, nullptr);
    ::LineTo(dc, middle, top + side * 14 / 18);
  }
}

std::wstring SentTooltipLine(const PhotoItem& item) {
  switch (item.sentBefore) {
    case PhotoItem::SentBefore::kYes:
      return L"已上传过 (" + item.sentDate + L")";
    case PhotoItem::SentBefore::kMaybe:
      return L"可能已经上传过";
    case PhotoItem::SentBefore::kNo:
      break;
  }
  return {};
}

}  // namespace fernwick
