// Shows the thumbnail view in a plain window with a dozen made-up photos (portrait and
// landscape, PNG, BMP and JPEG, one turned, one selected), for looking at the grid.
//   thumbnail_demo.exe [--close-after-ms N]
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/platform_guards.h"
#include "app/program_state.h"
#include "app/work_directories.h"
#include "imaging/add_photos.h"
#include "thumbview/thumbnail_view.h"
#include "tools/scene_pictures.h"

namespace {

using namespace fernwick;

class DemoOwner : public ThumbnailViewOwner {
 public:
  void EnableSelectionButtons(bool) override {}
  HWND hwnd() const noexcept override { return window; }
  HWND window = nullptr;
};

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  if (message == WM_TIMER) ::DestroyWindow(hwnd);
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  ComGuard com;
  GdiplusGuard gdiplus;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  UINT closeAfter = 0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--close-after-ms") == 0) closeAfter = static_cast<UINT>(std::atoi(argv[i + 1]));
  }
  ::CreateDirectoryA(ScaledCopiesDirectory().c_str(), nullptr);
  ::CreateDirectoryA(RotatedCopiesDirectory().c_str(), nullptr);

  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "fernwick-demo\\";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  const struct {
    int width, height;
    const char* format;
  } photos[] = {{1600, 1200, "jpg"}, {900, 1200, "png"},  {640, 480, "bmp"},  {3000, 2000, "jpg"},
                {600, 900, "jpg"},   {1024, 1024, "png"}, {80, 60, "png"},    {1200, 800, "bmp"},
                {768, 1024, "jpg"},  {2400, 900, "jpg"},  {1000, 750, "png"}, {700, 1050, "jpg"}};

  WNDCLASSEXA wc{sizeof(wc)};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = "FernwickDemoHost";
  ::RegisterClassExA(&wc);
  RECT frame{0, 0, 640, 400};
  ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  DemoOwner owner;
  owner.window =
      ::CreateWindowExA(0, wc.lpszClassName, "Fernwick thumbnails", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
  {
    ThumbnailView view;
    view.Create(owner.window, RECT{0, 0, 640, 400}, WS_CHILD | WS_VISIBLE);
    view.SetOwner(&owner);
    view.CreateTooltip();
    ::DragAcceptFiles(view.hwnd(), TRUE);
    SetSizeLimit(1024);
    int variant = 0;
    for (const auto& photo : photos) {
      const std::string path = dir + "photo" + std::to_string(variant) + "." + photo.format;
      GpBitmapPtr scene = tools::MakeScene(photo.width, photo.height, variant);
      tools::SaveScene(scene.get(), path, photo.format);
      AddPhoto(view, path, SizeLimit());
      ++variant;
    }
    view.Layout();
    // Turn the fourth photo (a landscape) once clockwise, then select the second by a click.
    const PhotoItem* fourth = view.SlotAt(3);
    ::SendMessageA(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fourth->centreX, fourth->centreY));
    view.RotateSelected(true);
    const PhotoItem* second = view.SlotAt(1);
    ::SendMessageA(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second->centreX, second->centreY));
    ::ShowWindow(owner.window, SW_SHOW);
    ::UpdateWindow(owner.window);
    if (closeAfter) ::SetTimer(owner.window, 1, closeAfter, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  return 0;
}
