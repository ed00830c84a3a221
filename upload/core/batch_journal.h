#pragma once
// The journal of an upload batch that is under way: what the batch was (tags, visibility, each
// photo's original file, turn and state), so that a batch a crash or a power cut cut off can be
// picked up at the next start. The file is small UTF-8 text, one fact a line:
//
//   fernwick batch journal 1
//   tags 海边\n旅行
//   visibility 1
//   photo sent 0 4711 C:\Photos\a.jpg
//   photo waiting 90 0 C:\Photos\b.jpg
//
// Texts are escaped (\\, \n, \r, \t) so that every fact stays on its line. The heading, the tags
// and the visibility must be whole, or there is no journal; the photos count as far as their
// lines are whole and understood.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fernwick {

enum class JournalState { Waiting, Sent, Failed };

struct JournalPhoto {
  std::string sourcePath;  // UTF-8, the file the user added
  int turn = 0;            // degrees, -270 .. 270 in steps of 90
  JournalState state = JournalState::Waiting;
  int32_t photoId = 0;  // the server's, for a photo sent
  bool operator==(const JournalPhoto&) const = default;
};

struct BatchJournal {
  std::string tags;         // UTF-8
  int visibilityIndex = 0;  // the photo-settings page's: 0, 1, 2, or -1 for none
  std::vector<JournalPhoto> photos;
  bool operator==(const BatchJournal&) const = default;
};

std::string EncodeBatchJournal(const BatchJournal& journal);

// None when the heading, the tags or the visibility line is missing, torn or not understood.
std::optional<BatchJournal> DecodeBatchJournal(std::string_view bytes);

}  // namespace fernwick
