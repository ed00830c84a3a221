// Shows the thumbnail view in a plain window with a dozen made-up photos (portrait and
// landscape, PNG, BMP and JPEG, one turned, one selected), for looking at the grid.
//   thumbnail_demo.exe [--close-after-ms N] [--dpi N]   (the grid, window and thumbnails of a
//                                                      screen of N DPI; 96 unless given)
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/program_state.h"
#include "base/text_936.h"
#include "imaging/add_photos.h"
#include "tools/tool_host.h"
#include "tools/scene_pictures.h"

namespace {

using namespace fernwick;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  if (message == WM_TIMER) ::DestroyWindow(hwnd);
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  tools::ToolPlatform platform;
  UINT closeAfter = 0;
  int dpi = kBaseDpi;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--close-after-ms") == 0) closeAfter = static_cast<UINT>(std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--dpi") == 0) dpi = std::atoi(argv[i + 1]);
  }
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"fernwick-demo\\";
  ::CreateDirectoryW(dir.c_str(), nullptr);
  const struct {
    int width, height;
    const char* format;
  } photos[] = {{1600, 1200, "jpg"}, {900, 1200, "png"},  {640, 480, "bmp"},  {3000, 2000, "jpg"},
                {600, 900, "jpg"},   {1024, 1024, "png"}, {80, 60, "png"},    {1200, 800, "bmp"},
                {768, 1024, "jpg"},  {2400, 900, "jpg"},  {1000, 750, "png"}, {700, 1050, "jpg"}};
  {
    tools::ToolHost host("Fernwick thumbnails", ScaleForDpi(640, dpi), ScaleForDpi(400, dpi), HostProc);
    ThumbnailView& view = host.view;
    view.SetDpi(dpi);
    host.photos.SetThumbnailBox(ScaleForDpi(kThumbnailBox, dpi));
    SetSizeLimit(1024);
    int variant = 0;
    for (const auto& photo : photos) {
      const std::wstring path = dir + L"photo" + std::to_wstring(variant) + L"." + WideFrom936(photo.format);
      GpBitmapPtr scene = tools::MakeScene(photo.width, photo.height, variant);
      tools::SaveScene(scene.get(), path, photo.format);
      AddPhoto(host.photos, path, SizeLimit());
      ++variant;
    }
    view.Layout();
    // Turn the fourth photo (a landscape) once clockwise, then select the second by a click.
    const PhotoItem* fourth = host.photos.SlotAt(3);
    ::SendMessageA(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fourth->centreX, fourth->centreY));
    view.RotateSelected(true);
    const PhotoItem* second = host.photos.SlotAt(1);
    ::SendMessageA(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second->centreX, second->centreY));
    host.Show();
    if (closeAfter) ::SetTimer(host.hwnd(), 1, closeAfter, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  return 0;
}
