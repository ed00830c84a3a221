#include "upload/core/resume_question.h"

namespace fernwick {

namespace {
std::wstring Count(size_t number) { return std::to_wstring(number); }
}  // namespace

std::wstring ResumeQuestionText(const UnfinishedPhotos& photos) {
  const size_t total = photos.unsent + photos.unsure;
  std::wstring text = L"上次的上传没有完成";
  if (photos.unsent > 0) text += L"，有" + Count(photos.unsent) + L"张图片没有发送";
  text += L"。";
  if (photos.unsure > 0) {
    text += L"\n" + std::wstring(photos.unsent > 0 ? L"另有" : L"有") + Count(photos.unsure) +
            L"张图片发送时中断，可能已经在网站上，请先查看网站。";
  }
  const size_t missing = photos.missing.size();
  if (missing > 0) {
    text += missing == total ? L"\n它们的原文件都找不到了，不能放回图片列表："
                             : L"\n其中" + Count(missing) + L"张的原文件找不到了，不能放回：";
    for (size_t at = 0; at < missing && at < kMaxNamedMissing; ++at) text += L"\n'" + photos.missing[at] + L"'";
    if (missing > kMaxNamedMissing) text += L"\n还有" + Count(missing - kMaxNamedMissing) + L"张";
  }
  if (photos.unsentBack == 0) return text;
  if (photos.unsure > 0) return text + L"\n要把没有发送的" + Count(photos.unsentBack) + L"张图片放回图片列表吗？";
  if (missing == 0) return text + L"\n要把它们放回图片列表吗？";
  return text + L"\n要把其余" + Count(photos.unsentBack) + L"张图片放回图片列表吗？";
}

std::wstring ResumeUnsureQuestionText(size_t unsureBack) {
  return L"有" + Count(unsureBack) +
         L"张图片可能已经在网站上，再发送一次可能在网站上重复。\n要把它们也放回图片列表吗？";
}

}  // namespace fernwick
