#pragma once
// The question at the start after a batch that did not end (the program was killed, crashed or
// lost its power): how many of its photos were not sent, which of those can no longer be
// found, and whether the others go back into the list.
#include <cstddef>
#include <string>
#include <vector>

namespace fernwick {

// `unsent` photos were not sent; `missing` are the original files of those that are gone. When
// every one is gone there is nothing to ask: the text then only tells (an OK message).
std::wstring ResumeQuestionText(size_t unsent, const std::vector<std::wstring>& missing);

}  // namespace fernwick
