#include "thumbview/thumbnail_view.h"

namespace fernwick {

namespace {
constexpr char kClassName[] = "FernwickThumbnailView";
}

ThumbnailView::ThumbnailView() = default;
ThumbnailView::~ThumbnailView() = default;

bool ThumbnailView::Create(HWND parent, const RECT& rect, DWORD style) {
  RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
                      ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  return CreateWindowOfClass(kClassName, 0, style, rect, parent, 0) != nullptr;
}

void ThumbnailView::CreateTooltip() {}
void ThumbnailView::Layout() {}
void ThumbnailView::RemoveSelected() {}
void ThumbnailView::RotateSelected(bool) {}
unsigned ThumbnailView::Count() const noexcept { return 0; }

LRESULT ThumbnailView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(message, wParam, lParam);
}

}  // namespace fernwick
