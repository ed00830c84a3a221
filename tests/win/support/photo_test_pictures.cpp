#include "photo_test_pictures.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "base/work_directories.h"
#include "imaging/picture_io.h"

namespace fernwick::test {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GpBitmapPtr MakeQuadrantPicture(int width, int height) {
  GpBitmapPtr picture;
  if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, picture.put()) != Ok) return {};
  GpGraphicsPtr graphics;
  GdipGetImageGraphicsContext(picture.get(), graphics.put());
  const int halfW = width / 2;
  const int halfH = height / 2;
  const struct {
    ARGB colour;
    int x, y, w, h;
  } parts[] = {{kTopLeft, 0, 0, halfW, halfH},
               {kTopRight, halfW, 0, width - halfW, halfH},
               {kBottomLeft, 0, halfH, halfW, height - halfH},
               {kBottomRight, halfW, halfH, width - halfW, height - halfH}};
  for (const auto& part : parts) {
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(part.colour, &brush);
    GdipFillRectangleI(graphics.get(), brush, part.x, part.y, part.w, part.h);
    GdipDeleteBrush(brush);
  }
  return picture;
}

bool SavePicture(GpBitmap* picture, const std::wstring& path, const char* format) {
  const std::string f = format;
  const std::wstring mime = L"image/" + (f == "jpg"   ? std::wstring(L"jpeg")
                                         : f == "tif" ? std::wstring(L"tiff")
                                                      : std::wstring(f.begin(), f.end()));
  const std::optional<CLSID> encoder = FindEncoder(mime.c_str());
  if (!encoder) return false;
  ::DeleteFileW(path.c_str());
  return GdipSaveImageToFile(picture, path.c_str(), &*encoder, nullptr) == Ok;
}

std::string FourColourGif(int width, int height, const std::array<uint32_t, 4>& palette,
                          const std::vector<uint8_t>& pixels) {
  std::string out = "GIF89a";
  auto word = [&](int value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
  };
  word(width);
  word(height);
  out += std::string("\x91\0\0", 3);  // global table of 4 entries
  for (uint32_t colour : palette) {
    out.push_back(static_cast<char>((colour >> 16) & 0xFF));
    out.push_back(static_cast<char>((colour >> 8) & 0xFF));
    out.push_back(static_cast<char>(colour & 0xFF));
  }
  out.push_back(',');
  word(0);
  word(0);
  word(width);
  word(height);
  out.push_back('\0');
  out.push_back('\x02');  // minimum code size
  std::string data;
  unsigned bits = 0;
  int count = 0;
  auto code = [&](unsigned value) {
    bits |= value << count;
    count += 3;
    while (count >= 8) {
      data.push_back(static_cast<char>(bits & 0xFF));
      bits >>= 8;
      count -= 8;
    }
  };
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (i % 2 == 0) code(4);  // clear
    code(pixels[i] & 3u);
  }
  code(5);  // end
  if (count > 0) data.push_back(static_cast<char>(bits & 0xFF));
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<char>(n));
    out.append(data, at, n);
  }
  out.push_back('\0');
  out.push_back(';');
  return out;
}

namespace {
bool WriteQuadrantGif(const std::wstring& path, int width, int height) {
  std::vector<uint8_t> pixels;
  pixels.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      pixels.push_back(static_cast<uint8_t>((y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)));
  }
  const std::array<uint32_t, 4> palette{kTopLeft & 0xFFFFFFu, kTopRight & 0xFFFFFFu, kBottomLeft & 0xFFFFFFu,
                                        kBottomRight & 0xFFFFFFu};
  return WriteBytes(path, FourColourGif(width, height, palette, pixels)) && FileExists(path);
}
}  // namespace

bool WriteQuadrantPicture(const std::wstring& path, int width, int height, const char* format) {
  if (std::string(format) == "gif") return WriteQuadrantGif(path, width, height);
  GpBitmapPtr picture = MakeQuadrantPicture(width, height);
  return picture && SavePicture(picture.get(), path, format);
}

int QuadrantColourAt(GpBitmap* picture, int x, int y) {
  ARGB colour = 0;
  if (!picture || GdipBitmapGetPixel(picture, x, y, &colour) != Ok) return -1;
  const ARGB known[] = {kTopLeft, kTopRight, kBottomLeft, kBottomRight};
  for (int i = 0; i < 4; ++i) {
    int distance = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      distance += std::abs(static_cast<int>((colour >> shift) & 0xFF) - static_cast<int>((known[i] >> shift) & 0xFF));
    }
    if (distance < 120) return i;
  }
  return -1;
}

std::vector<int> QuadrantsOf(GpBitmap* picture) {
  const int w = static_cast<int>(PictureWidth(picture));
  const int h = static_cast<int>(PictureHeight(picture));
  return {QuadrantColourAt(picture, w / 4, h / 4), QuadrantColourAt(picture, 3 * w / 4, h / 4),
          QuadrantColourAt(picture, w / 4, 3 * h / 4), QuadrantColourAt(picture, 3 * w / 4, 3 * h / 4)};
}

GpBitmapPtr ThumbnailPicture(const PhotoItem& item) {
  const bool swaps = item.thumbnail.turn == 90 || item.thumbnail.turn == 270;
  const uint32_t width = swaps ? item.thumbnail.height : item.thumbnail.width;
  const uint32_t height = swaps ? item.thumbnail.width : item.thumbnail.height;
  const PixelBuffer shown = ShownThumbnail(item.thumbnail, 0, width, height);
  GpBitmapPtr picture;
  if (shown.pixels.empty() || GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                                        PixelFormat32bppRGB, nullptr, picture.put()) != Ok) {
    return {};
  }
  const GpRect all{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
  BitmapData data{};
  if (GdipBitmapLockBits(picture.get(), &all, ImageLockModeWrite, PixelFormat32bppRGB, &data) != Ok) return {};
  for (uint32_t y = 0; y < height; ++y) {
    std::memcpy(static_cast<uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride, shown.At(0, y),
                size_t{width} * 4);
  }
  GdipBitmapUnlockBits(picture.get(), &data);
  return picture;
}

void ResetWorkDirectories() {
  for (const std::wstring& dir : {ScaledCopiesDirectory(), RotatedCopiesDirectory()}) {
    RemoveDirectoryTree(dir.substr(0, dir.size() - 1));
  }
  // Also makes the program folder above them, which a fresh test profile lacks.
  CreateWorkDirectories();
}

namespace {
constexpr char kHostClass[] = "FernwickTestHost";
}

FakeOwner::FakeOwner(int clientWidth, int clientHeight) {
  WNDCLASSEXA wc{sizeof(wc)};
  if (!::GetClassInfoExA(::GetModuleHandleA(nullptr), kHostClass, &wc)) {
    wc = WNDCLASSEXA{sizeof(wc)};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kHostClass;
    ::RegisterClassExA(&wc);
  }
  RECT rect{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  window_.reset(::CreateWindowExA(0, kHostClass, "Fernwick test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr));
}

FakeOwner::~FakeOwner() = default;

HostedView::HostedView(int width, int height) : owner(width, height) {
  view.Create(owner.hwnd(), RECT{0, 0, width, height}, WS_CHILD | WS_VISIBLE);
  photos.SetObserver(&owner);
  view.CreateTooltip();
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

COLORREF PaintedPixel(ThumbnailView& view, int x, int y) {
  RECT client{};
  ::GetClientRect(view.hwnd(), &client);
  WindowDc screen(view.hwnd());
  UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  UniqueHBitmap bitmap(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  SelectScope select(memory.get(), bitmap.get());
  ::SendMessageA(view.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
  return ::GetPixel(memory.get(), x, y);
}

}  // namespace fernwick::test
