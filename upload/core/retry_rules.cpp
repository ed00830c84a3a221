#include "upload/core/retry_rules.h"

#include <algorithm>
#include <array>

namespace fernwick {

bool MayRetry(UploadEnd end) noexcept {
  // After the whole body the server may have stored the photo whatever became of its answer.
  return end == UploadEnd::NoConnection || end == UploadEnd::BrokenBeforeBody || end == UploadEnd::ServerBusy;
}

bool IsConnectionFailure(UploadEnd end) noexcept {
  return end == UploadEnd::NoConnection || end == UploadEnd::BrokenBeforeBody;
}

unsigned RetryWaitMs(int attempt) noexcept { return attempt <= 2 ? 1000u : 4000u; }

MissReason MissReasonOf(UploadEnd end) noexcept {
  switch (end) {
    case UploadEnd::NoConnection:
    case UploadEnd::BrokenBeforeBody:
      return MissReason::NoConnection;
    case UploadEnd::AnswerLost:
      return MissReason::MaybeOnSite;
    case UploadEnd::TooLarge:
      return MissReason::TooLarge;
    case UploadEnd::Unreadable:
      return MissReason::Unreadable;
    case UploadEnd::Cancelled:
      return MissReason::Cancelled;
    case UploadEnd::Stored:
    case UploadEnd::Refused:
    case UploadEnd::ServerBusy:
      break;
  }
  return MissReason::Refused;
}

std::wstring BatchSummaryText(int arrived, const std::vector<MissedPhoto>& missed) {
  static constexpr std::array<const wchar_t*, 4> kReasonTexts = {L"服务器没有接受", L"文件太大", L"文件不能读取",
                                                                 L"可能已经在网站上，请先查看网站"};
  const auto told = std::count_if(missed.begin(), missed.end(), [](const MissedPhoto& photo) {
    return static_cast<size_t>(photo.reason) < kReasonTexts.size();
  });
  if (told == 0) return {};
  std::wstring text = std::to_wstring(arrived) + L"张图片上传成功。\n有" + std::to_wstring(told) +
                      L"张图片没有上传成功，它们仍在列表中：";
  for (size_t reason = 0; reason < kReasonTexts.size(); ++reason) {
    std::wstring titles;
    for (const MissedPhoto& photo : missed) {
      if (static_cast<size_t>(photo.reason) != reason) continue;
      titles += (titles.empty() ? L"" : L"，") + (L"'" + photo.title + L"'");
    }
    if (!titles.empty()) text += L"\n" + std::wstring(kReasonTexts[reason]) + L"：" + titles;
  }
  return text;
}

}  // namespace fernwick
