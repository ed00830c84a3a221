#include "upload/core/resume_question.h"

namespace fernwick {

std::wstring ResumeQuestionText(size_t unsent, const std::vector<std::wstring>& missing) {
  std::wstring text = L"上次的上传没有完成，有" + std::to_wstring(unsent) + L"张图片没有发送。";
  if (missing.empty()) return text + L"\n要把它们放回图片列表吗？";
  text += missing.size() == unsent ? L"\n它们的原文件都找不到了，不能放回图片列表："
                                   : L"\n其中" + std::to_wstring(missing.size()) + L"张的原文件找不到了，不能放回：";
  for (const std::wstring& path : missing) text += L"\n'" + path + L"'";
  if (missing.size() == unsent) return text;
  return text + L"\n要把其余" + std::to_wstring(unsent - missing.size()) + L"张图片放回图片列表吗？";
}

}  // namespace fernwick
