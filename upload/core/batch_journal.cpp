#include "upload/core/batch_journal.h"

#include <array>

#include "upload/core/journal_text.h"

namespace fernwick {

namespace {

constexpr std::string_view kHeading = "fernwick batch journal 1";
constexpr std::array<std::string_view, 5> kStateNames = {"waiting", "sent", "failed", "sending", "unsure"};

bool IsTurn(int degrees) { return degrees % 90 == 0 && degrees >= -270 && degrees <= 270; }

std::optional<JournalPhoto> PhotoOf(std::string_view rest) {
  JournalPhoto photo;
  const std::string_view state = NextWord(rest);
  size_t index = 0;
  while (index < kStateNames.size() && kStateNames[index] != state) ++index;
  if (index == kStateNames.size()) return std::nullopt;
  photo.state = static_cast<JournalState>(index);
  const auto turn = NumberOf<int>(NextWord(rest));
  const auto id = NumberOf<int32_t>(NextWord(rest));
  std::optional<std::string> path = UnescapeJournalText(rest);
  if (!turn || !IsTurn(*turn) || !id || *id < 0 || !path || path->empty()) return std::nullopt;
  // Only a photo the server took has an id.
  if ((photo.state == JournalState::Sent) != (*id > 0)) return std::nullopt;
  photo.turn = *turn;
  photo.photoId = *id;
  photo.sourcePath = std::move(*path);
  return photo;
}

// The text after `keyword` and a blank on the line, or none for another line.
std::optional<std::string_view> Fact(std::string_view line, std::string_view keyword) {
  if (line.substr(0, keyword.size()) != keyword || line.substr(keyword.size(), 1) != " ") return std::nullopt;
  return line.substr(keyword.size() + 1);
}

}  // namespace

bool MayBeOnSite(JournalState state) noexcept {
  return state == JournalState::Sending || state == JournalState::MaybeOnSite;
}

int TurnFromOriginal(int sendTurn, int angle) noexcept { return (sendTurn + angle) % 360; }

std::string EncodeBatchJournal(const BatchJournal& journal) {
  std::string text(kHeading);
  text +=
      "\ntags " + EscapeJournalText(journal.tags) + "\nvisibility " + std::to_string(journal.visibilityIndex) + "\n";
  for (const JournalPhoto& photo : journal.photos) {
    text += "photo ";
    text += kStateNames[static_cast<size_t>(photo.state)];
    text += " " + std::to_string(photo.turn) + " " + std::to_string(photo.photoId) + " " +
            EscapeJournalText(photo.sourcePath) + "\n";
  }
  return text;
}

std::optional<BatchJournal> DecodeBatchJournal(std::string_view bytes) {
  // Whole lines only: a torn last line is left out.
  std::vector<std::string_view> lines;
  for (size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n')) {
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
  }
  // Without its settings the batch cannot be sent as it was meant (a private batch must never
  // come back public): no journal.
  if (lines.size() < 3 || lines[0] != kHeading) return std::nullopt;
  const std::optional<std::string_view> tags = Fact(lines[1], "tags");
  const std::optional<std::string_view> visibility = Fact(lines[2], "visibility");
  BatchJournal journal;
  std::optional<std::string> tagsText = tags ? UnescapeJournalText(*tags) : std::nullopt;
  const std::optional<int> index = visibility ? NumberOf<int>(*visibility) : std::nullopt;
  if (!tagsText || !index || *index < -1 || *index > 2) return std::nullopt;
  journal.tags = std::move(*tagsText);
  journal.visibilityIndex = *index;
  for (size_t line = 3; line < lines.size(); ++line) {
    const std::optional<std::string_view> fact = Fact(lines[line], "photo");
    std::optional<JournalPhoto> photo = fact ? PhotoOf(*fact) : std::nullopt;
    if (!photo) break;
    journal.photos.push_back(std::move(*photo));
  }
  return journal;
}

}  // namespace fernwick
