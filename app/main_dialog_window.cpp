// The main window's geometry and looks: layout on resize, the minimum size, the tab frame and
// logo, the switch between the photo list and the photo-settings page, wheel forwarding.
#include <windowsx.h>

#include "app/core/main_layout.h"
#include "app/main_dialog.h"
#include "res/main_window_ids.h"
#include "base/program_state.h"

namespace fernwick {

namespace {
void Place(HWND window, const LayoutRect& rect) {
  ::SetWindowPos(window, nullptr, rect.x, rect.y, rect.width, rect.height, SWP_NOZORDER);
}
}  // namespace

LRESULT MainDialog::OnGetMinMaxInfo(MINMAXINFO& info) {
  info.ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
  return 0;
}

LRESULT MainDialog::OnSize(UINT kind, int width, int height) {
  // A minimised window reports a size of nothing; the layout is made again on restore.
  if (kind != SIZE_MINIMIZED) ApplyLayout(width, height);
  return 0;
}

void MainDialog::ApplyLayout(int width, int height) {
  const MainLayout layout = ComputeMainLayout(width, height);
  Place(Item(ids::kUploadButton), layout.upload);
  Place(Item(ids::kBackButton), layout.back);
  Place(Item(ids::kOkButton), layout.ok);
  Place(Item(ids::kQuotaLine), layout.quotaLine);
  Place(Item(ids::kPhotoSiteLink), layout.photoSiteLink);
  // During an upload the view is hidden and the worker owns the photo list; the done page's
  // Back lays it out again.
  if (!UploadInProgress() && view_.hwnd()) {
    Place(view_.hwnd(), layout.view);
    view_.Layout();
  }
  for (HWND page : {settingsPage_.hwnd(), progressPage_.hwnd(), donePage_ ? donePage_->hwnd() : nullptr}) {
    if (page) CenterWindowOver(page, hwnd());
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void MainDialog::ShowPhotoListPage(bool show) {
  const int photoList = show ? SW_SHOW : SW_HIDE;
  const int settings = show ? SW_HIDE : SW_SHOW;
  if (view_.hwnd()) ::ShowWindow(view_.hwnd(), photoList);
  for (int id : {ids::kAddButton, ids::kDeleteButton, ids::kRotateLeftButton, ids::kRotateRightButton,
                 ids::kSettingsButton, ids::kUploadButton, ids::kCurrentUserLine, ids::kPhotoSiteLink}) {
    ::ShowWindow(Item(id), photoList);
  }
  if (settingsPage_.hwnd()) ::ShowWindow(settingsPage_.hwnd(), settings);
  ::ShowWindow(Item(ids::kOkButton), settings);
  ::ShowWindow(Item(ids::kBackButton), settings);
  ::SendMessageA(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(show ? ids::kUploadButton : ids::kOkButton)),
                 TRUE);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT MainDialog::OnPaint() {
  PaintDc paint(hwnd());
  GpGraphicsPtr graphics;
  Gdiplus::DllExports::GdipCreateFromHDC(paint.get(), graphics.put());
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (view_.hwnd() && ::IsWindowVisible(view_.hwnd())) PaintTabFrame(paint.get(), client);
  if (logo_ && graphics) {
    const LayoutRect where = LogoRect(client.right);
    Gdiplus::DllExports::GdipDrawImageRectI(graphics.get(), logo_.get(), where.x, where.y, where.width, where.height);
  }
  return 0;
}

void MainDialog::PaintTabFrame(HDC dc, const RECT& client) const {
  POINT points[6];
  const auto corners = TabFramePoints(client.right, client.bottom);
  for (size_t i = 0; i < corners.size(); ++i) points[i] = {corners[i].x, corners[i].y};
  UniqueHRgn tab(::CreatePolygonRgn(points, 6, ALTERNATE));
  if (!tab) return;
  ::PaintRgn(dc, tab.get());  // the paint DC's brush: white
  UniqueHBrush edge(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
  ::FrameRgn(dc, tab.get(), edge.get(), 1, 1);
}

LRESULT MainDialog::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  // The wheel scrolls the view only, and only while the cursor is over it; the guard stops
  // the view's unhandled wheel, which comes back up to this window, from bouncing forever.
  if (view_.hwnd() && ::IsWindowVisible(view_.hwnd()) && !wheelForwarding_) {
    wheelForwarding_ = true;
    POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(hwnd(), &cursor);
    // Hidden children (the wizard pages lie over the view) must not hide the view.
    if (::ChildWindowFromPointEx(hwnd(), cursor, CWP_SKIPINVISIBLE) == view_.hwnd()) {
      ::SendMessageA(view_.hwnd(), WM_MOUSEWHEEL, wParam, lParam);
    }
    wheelForwarding_ = false;
  }
  return 1;
}

}  // namespace fernwick
