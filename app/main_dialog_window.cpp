// The main window's geometry and looks: layout on resize, the minimum size, the tab frame and
// logo, the switch between its states, wheel forwarding.
#include <windowsx.h>

#include <utility>

#include "app/core/main_layout.h"
#include "app/main_dialog.h"
#include "base/window_dpi.h"
#include "res/main_window_ids.h"

namespace fernwick {

namespace {
// The parts of a state that are controls of the main window itself.
constexpr std::pair<StatePart, int> kPartControls[] = {
    {StatePart::kAddButton, ids::kAddButton},
    {StatePart::kDeleteButton, ids::kDeleteButton},
    {StatePart::kRotateLeftButton, ids::kRotateLeftButton},
    {StatePart::kRotateRightButton, ids::kRotateRightButton},
    {StatePart::kSettingsButton, ids::kSettingsButton},
    {StatePart::kUploadButton, ids::kUploadButton},
    {StatePart::kCurrentUserLine, ids::kCurrentUserLine},
    {StatePart::kPhotoSiteLink, ids::kPhotoSiteLink},
    {StatePart::kOkButton, ids::kOkButton},
    {StatePart::kBackButton, ids::kBackButton},
};

// In the order of the layout's toolbar rectangles.
constexpr int kToolbarIds[kToolbarButtonCount] = {ids::kAddButton, ids::kDeleteButton, ids::kRotateLeftButton,
                                                  ids::kRotateRightButton, ids::kSettingsButton};

void Place(HWND window, const LayoutRect& rect) {
  ::SetWindowPos(window, nullptr, rect.x, rect.y, rect.width, rect.height, SWP_NOZORDER);
}

// Dialog units to pixels with the dialog's font, place and size apart, as the dialog manager
// maps a template's control.
LayoutRect MapUnits(HWND dialog, const LayoutRect& units) {
  RECT place{units.x, units.y, 0, 0};
  RECT size{0, 0, units.width, units.height};
  ::MapDialogRect(dialog, &place);
  ::MapDialogRect(dialog, &size);
  return {place.left, place.top, size.right, size.bottom};
}
}  // namespace

LRESULT MainDialog::OnGetMinMaxInfo(MINMAXINFO& info) {
  const LayoutPoint least = MinTrackSize(dpi_);
  info.ptMinTrackSize = {least.x, least.y};
  return 0;
}

LRESULT MainDialog::OnDpiChanged(int dpi, const RECT& suggested) {
  // The window moved to a screen of another DPI (or the user changed the scale): the system
  // has already scaled the template's controls and font; the pictures and the figures that
  // are ours follow, and the window takes the size the system suggests for the new DPI.
  dpi_ = dpi > 0 ? dpi : WindowDpi(hwnd());
  view_.SetDpi(dpi_);
  // The photos already shown are drawn resized into the new box, not made anew from their files.
  photos_.SetThumbnailBox(ScaleForDpi(kThumbnailBox, dpi_));
  LoadDpiPictures();
  ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // A suggested rectangle of the same size sends no WM_SIZE, and the figures changed anyway.
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  ApplyLayout(client.right, client.bottom);  // lays the grid out anew while it shows
  return 0;
}

LRESULT MainDialog::OnSize(UINT kind, int width, int height) {
  // A minimised window reports a size of nothing; the layout is made again on restore.
  if (kind != SIZE_MINIMIZED) ApplyLayout(width, height);
  return 0;
}

void MainDialog::ApplyLayout(int width, int height) {
  const MainLayout layout = ComputeMainLayout(width, height, dpi_);
  Place(Item(ids::kUploadButton), layout.upload);
  Place(Item(ids::kBackButton), layout.back);
  Place(Item(ids::kOkButton), layout.ok);
  Place(Item(ids::kQuotaLine), layout.quotaLine);
  Place(Item(ids::kPhotoSiteLink), layout.photoSiteLink);
  Place(Item(ids::kAddingText), layout.addingText);
  Place(Item(ids::kAddingBar), layout.addingBar);
  Place(Item(ids::kAddingStop), layout.addingStop);
  for (int i = 0; i < kToolbarButtonCount; ++i) Place(Item(kToolbarIds[i]), MapUnits(hwnd(), kToolbarUnits[i]));
  // A hidden view is left alone: during an upload the batch is changing the photo list, and
  // entering the photo list lays the view out for the size the window has then.
  if (state_ == WindowState::kPhotoList) PlaceView(width, height);
  for (HWND page : {settingsPage_.hwnd(), progressPage_.hwnd(), donePage_ ? donePage_->hwnd() : nullptr}) {
    if (page) CenterWindowOver(page, hwnd());
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void MainDialog::PlaceView(int width, int height) {
  if (!view_.hwnd()) return;
  Place(view_.hwnd(), ComputeMainLayout(width, height, dpi_).view);
  view_.Layout();
}

HWND MainDialog::PartWindow(StatePart part) {
  switch (part) {
    case StatePart::kView:
      return view_.hwnd();
    case StatePart::kSettingsPage:
      return settingsPage_.hwnd();
    case StatePart::kProgressPage:
      return progressPage_.hwnd();
    case StatePart::kDonePage:
      return donePage_ ? donePage_->hwnd() : nullptr;
    default:
      break;
  }
  for (const auto& [controlPart, id] : kPartControls) {
    if (controlPart == part) return Item(id);
  }
  return nullptr;
}

HWND MainDialog::FocusWindow(StateFocus focus) {
  switch (focus) {
    case StateFocus::kUploadButton:
      return Item(ids::kUploadButton);
    case StateFocus::kOkButton:
      return Item(ids::kOkButton);
    case StateFocus::kProgressCancel:
      return progressPage_.Item(ProgressPage::kCancelButton);
    case StateFocus::kDoneViewPhotos:
      return donePage_ ? donePage_->Item(DonePage::kViewPhotosButton) : nullptr;
  }
  return nullptr;
}

void MainDialog::EnterState(WindowState state) {
  state_ = state;
  const WindowStateLook& look = LookOf(state);
  if (look.Shows(StatePart::kView)) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    PlaceView(client.right, client.bottom);
  }
  for (size_t index = 0; index < kStatePartCount; ++index) {
    const auto part = static_cast<StatePart>(index);
    if (HWND window = PartWindow(part)) ::ShowWindow(window, look.Shows(part) ? SW_SHOW : SW_HIDE);
  }
  ShowAddingControls();
  ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(FocusWindow(look.focus)), TRUE);
  if (look.Shows(StatePart::kView)) {
    ::InvalidateRect(view_.hwnd(), nullptr, TRUE);
    ::UpdateWindow(view_.hwnd());
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  ::UpdateWindow(hwnd());
  if (state == WindowState::kPhotoList) taskbar_.Clear();
  if (state == WindowState::kProgress) {
    ::SetTimer(hwnd(), kStillTimer, kStillCheckMs, nullptr);
  } else {
    ::KillTimer(hwnd(), kStillTimer);
  }
  if (state == WindowState::kPhotoList || state == WindowState::kDone) AddHandedPaths();
}

LRESULT MainDialog::OnPaint() {
  PaintDc paint(hwnd());
  GpGraphicsPtr graphics;
  Gdiplus::DllExports::GdipCreateFromHDC(paint.get(), graphics.put());
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (view_.hwnd() && ::IsWindowVisible(view_.hwnd())) PaintTabFrame(paint.get(), client);
  if (logo_ && graphics) {
    const LayoutRect where = LogoRect(client.right, dpi_);
    // At 96 DPI the logo is copied pixel for pixel; larger, it is resampled with the best
    // filter GDI+ has, and whole pixels are sampled at their centres so its edges stay even.
    if (dpi_ != kBaseDpi) {
      Gdiplus::DllExports::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQualityBicubic);
      Gdiplus::DllExports::GdipSetPixelOffsetMode(graphics.get(), Gdiplus::PixelOffsetModeHalf);
    }
    Gdiplus::DllExports::GdipDrawImageRectI(graphics.get(), logo_.get(), where.x, where.y, where.width, where.height);
  }
  return 0;
}

void MainDialog::PaintTabFrame(HDC dc, const RECT& client) const {
  POINT points[6];
  const auto corners = TabFramePoints(client.right, client.bottom, dpi_);
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
      ::SendMessageW(view_.hwnd(), WM_MOUSEWHEEL, wParam, lParam);
    }
    wheelForwarding_ = false;
  }
  return 1;
}

}  // namespace fernwick
