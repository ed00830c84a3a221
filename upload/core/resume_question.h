#pragma once
// The questions at the start after a batch that did not end (the program was killed, crashed,
// lost its power, or the window was closed during it): how many of its photos were not sent,
// how many may already be on the site (cut off while they were sent, or no answer came for
// them), which originals can no longer be found, and whether the others go back into the list.
#include <cstddef>
#include <string>
#include <vector>

namespace fernwick {

// At most this many missing originals are named; the rest are counted.
inline constexpr size_t kMaxNamedMissing = 10;

struct UnfinishedPhotos {
  size_t unsent = 0;                  // not sent, the server cannot have them
  size_t unsure = 0;                  // may already be on the site
  std::vector<std::wstring> missing;  // the originals that are gone, of either kind
  size_t unsentBack = 0;              // not sent, original still there: what the first question puts back
  size_t unsureBack = 0;              // may be on the site, original still there: the second question's
};

// The first question, about the photos not sent. When none of them can go back there is
// nothing to ask: the text then only tells (an OK message).
std::wstring ResumeQuestionText(const UnfinishedPhotos& photos);
// The second, asked only when some photo that may be on the site can go back; its default is
// No, since sending such a photo again may put it on the site twice.
std::wstring ResumeUnsureQuestionText(size_t unsureBack);

}  // namespace fernwick
