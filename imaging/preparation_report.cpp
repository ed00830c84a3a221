#include "imaging/preparation_report.h"

#include <cwctype>

#include "base/core/notice_caption.h"
#include "base/prompt.h"

namespace fernwick {
namespace {

// More names than this would make a box taller than the screen.
constexpr std::size_t kListedPhotos = 12;

// The system's own words for `error` in `language` (0: the user's), without the line break
// Windows ends them with; empty when it has none.
std::wstring SystemWords(DWORD error, WORD language) {
  wchar_t* text = nullptr;
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring words(text ? text : L"", length);
  ::LocalFree(text);
  while (!words.empty() && std::iswspace(words.back())) words.pop_back();
  return words;
}

// The reason quoted in a Chinese message: the system's words in Simplified Chinese where it has
// them (an English Windows may), otherwise in the user's language.
std::wstring Reason(DWORD error) {
  if (error != 0) {
    for (const WORD language : {WORD{MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)}, WORD{0}}) {
      std::wstring words = SystemWords(error, language);
      if (!words.empty()) return words;
    }
  }
  return L"不能写入图片的工作副本";
}

}  // namespace

void PreparationReport::Add(std::wstring name, DWORD error) { photos_.push_back({std::move(name), error}); }

std::wstring PreparationReport::Text() const {
  std::wstring text = L"下列图片未能准备好，没有加入：\n";
  for (std::size_t i = 0; i < photos_.size() && i < kListedPhotos; ++i) {
    text += L"\n" + photos_[i].name + L"：" + Reason(photos_[i].error);
  }
  if (photos_.size() > kListedPhotos) {
    text += L"\n……以及另外 " + std::to_wstring(photos_.size() - kListedPhotos) + L" 张图片";
  }
  return text;
}

void PreparationReport::Show(HWND owner) const {
  if (!empty()) ShowPrompt(owner, Text(), kNoticeCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace fernwick
