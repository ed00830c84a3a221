#pragma once
// The caption of the program's message boxes (the login dialog's own box has none).

namespace fernwick {

inline constexpr wchar_t kNoticeCaption[] = L"提示";

}  // namespace fernwick
