#include "thumbview/thumbnail_view.h"

#include <algorithm>
#include <vector>

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "base/text_936.h"
#include "controls/tooltip.h"
#include "imaging/add_photos.h"
#include "imaging/core/photo_geometry.h"
#include "thumbview/core/grid_layout.h"
#include "thumbview/sent_mark.h"

namespace fernwick {

namespace {
constexpr wchar_t kClassName[] = L"FernwickThumbnailView";
constexpr UINT_PTR kTooltipTool = 1;
}  // namespace

ThumbnailView::ThumbnailView(PhotoList& photos) : photos_(photos) {}
ThumbnailView::~ThumbnailView() = default;

bool ThumbnailView::Create(HWND parent, const RECT& rect, DWORD style) {
  RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
                      ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
  if (!CreateWindowOfClass(kClassName, 0, style, rect, parent, 0)) return false;
  ReadWheelLines();
  return true;
}

void ThumbnailView::CreateTooltip() {
  if (!hwnd() || tooltip_) return;
  tooltip_ = CreateTooltipWindow(hwnd());
  if (!tooltip_) return;
  // The tool is the box of the photo under the mouse, and nowhere while there is none: the tip
  // appears only over a photo, and anew for each photo the mouse comes to.
  AddAreaTool(tooltip_.get(), hwnd(), kTooltipTool, RECT{}, L"图片");
  ActivateTooltip(tooltip_.get(), false);
  // A photo sent before has a second line; a tip breaks lines only once it has a width limit.
  ::SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, 1000);
}

PhotoItem* ThumbnailView::HitTest(int32_t x, int32_t y) const noexcept {
  const PlaceRange slots = SlotsMeeting(y, 1);
  for (std::size_t slot = slots.first; slot < slots.last; ++slot) {
    PhotoItem* item = photos_.SlotAt(slot);
    if (item && item->frameRect.Contains(x, y)) return item;
  }
  return nullptr;
}

void ThumbnailView::Render(HDC dc, const RECT& area) const {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  // Each cell is one copy of a bitmap drawn whole beforehand, so the cells go straight to the dc:
  // a bitmap of the whole view to draw them into first would be filled and copied again at every
  // notch (4 ms of a notch at 200 %). What no cell covers is filled last, with the cells clipped
  // out, so that no pixel is drawn twice; cells that overlap by a pixel at some DPI are all drawn
  // before any is clipped out, so the later one shows, as in the grid's order.
  const int saved = ::SaveDC(dc);
  // Content coordinates of the area's corners.
  const int32_t left = area.left + scrollX_.offset;
  const int32_t top = area.top + scrollY_.offset;
  // The cells not drawn yet (a notch's whole new screen) are made together, on two threads.
  std::vector<CellCache::CellOf> shown;
  ForCellsMeeting(left, top, width, height, [&](const PhotoItem& item, const CellBounds& cell) {
    shown.push_back({&item, cell});
    return true;
  });
  cells_.PrepareAll(dc, shown);
  for (const auto& [item, cell] : shown) {
    const POINT at{cell.left - scrollX_.offset, cell.top - scrollY_.offset};
    cells_.Draw(dc, *item, cell, at);
  }
  for (const auto& [item, cell] : shown) {
    ::ExcludeClipRect(dc, cell.left - scrollX_.offset, cell.top - scrollY_.offset, cell.right - scrollX_.offset,
                      cell.bottom - scrollY_.offset);
  }
  ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_WINDOW));
  ::RestoreDC(dc, saved);
}

void ThumbnailView::OnPaint() {
  {
    PaintDc paint(hwnd());
    if (paint.get()) Render(paint.get(), paint.paint().rcPaint);
  }
  DrawAheadLater();
}

void ThumbnailView::OnLeftButtonDown(LPARAM lParam) {
  PhotoItem* before = photos_.selection();
  photos_.Select(HitTest(GET_X_LPARAM(lParam) + scrollX_.offset, GET_Y_LPARAM(lParam) + scrollY_.offset));
  // Only the two frames change: they are drawn over on the window, the pictures stay.
  WindowDc dc(hwnd());
  if (before) before->DrawFrame(dc.get(), ScrollOffset());
  if (PhotoItem* now = photos_.selection()) now->DrawFrame(dc.get(), ScrollOffset());
  // The owner's buttons follow the selection; they show their new faces at once.
  if (HWND owner = ::GetParent(hwnd())) ::UpdateWindow(owner);
}

void ThumbnailView::UpdateTooltip(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!tooltip_) return;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  // The wheel reports screen coordinates; every other mouse message client coordinates.
  if (message == WM_MOUSEWHEEL) ::ScreenToClient(hwnd(), &point);
  const PhotoItem* item = HitTest(point.x + scrollX_.offset, point.y + scrollY_.offset);
  // The tip learns of the mouse only after it knows where it may appear and with what text.
  if (item) {
    const RECT box{item->frameRect.left - scrollX_.offset, item->frameRect.top - scrollY_.offset,
                   item->frameRect.right - scrollX_.offset, item->frameRect.bottom - scrollY_.offset};
    std::wstring text = WideFrom936(SizeTooltipText(*item, item->fileSize));
    if (const std::wstring sent = SentTooltipLine(*item); !sent.empty()) text += L"\r\n" + sent;
    SetAreaTool(tooltip_.get(), hwnd(), kTooltipTool, box, text.c_str());
  } else {
    SetAreaTool(tooltip_.get(), hwnd(), kTooltipTool, RECT{}, nullptr);
  }
  ActivateTooltip(tooltip_.get(), item != nullptr);
  RelayToTooltip(tooltip_.get(), hwnd(), message, wParam, lParam);
}

std::optional<LRESULT> ThumbnailView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(lParam);
      return 0;
    case WM_DROPFILES:
      if (dropHandler_) {
        dropHandler_(reinterpret_cast<HDROP>(wParam));
      } else if (AddDroppedFiles(reinterpret_cast<HDROP>(wParam), photos_, hwnd())) {
        LayOutAndRepaint();
      }
      return 0;
    default:
      break;
  }
  if (message >= WM_MOUSEFIRST && message <= 0x20D) UpdateTooltip(message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      OnSize(static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting fills every pixel it touches
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client{};
      ::GetClientRect(hwnd(), &client);
      Render(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_HSCROLL:
      OnScroll(SB_HORZ, wParam);
      return 0;
    case WM_VSCROLL:
      OnScroll(SB_VERT, wParam);
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_SETTINGCHANGE:
      ReadWheelLines();
      return std::nullopt;
    case WM_DESTROY:
      // A popup made for a child window is owned by the top-level window, not by the view, so
      // it would outlive the view (with a tool on a dead window) unless destroyed here.
      tooltip_.reset();
      drawingAhead_ = false;  // the timer goes with the window
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace fernwick
