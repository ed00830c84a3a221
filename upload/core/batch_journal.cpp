#include "upload/core/batch_journal.h"

#include <array>

#include "upload/core/journal_text.h"

namespace fernwick {

namespace {

constexpr std::string_view kHeading = "fernwick batch journal 1";
constexpr std::string_view kChangesHeading = "fernwick batch journal 1, changes appended";
constexpr std::array<std::string_view, 5> kStateNames = {"waiting", "sent", "failed", "sending", "unsure"};

bool IsTurn(int degrees) { return degrees % 90 == 0 && degrees >= -270 && degrees <= 270; }

std::optional<JournalState> StateOf(std::string_view word) {
  size_t index = 0;
  while (index < kStateNames.size() && kStateNames[index] != word) ++index;
  return index == kStateNames.size() ? std::nullopt : std::optional(static_cast<JournalState>(index));
}

// Only a photo the server took has an id.
bool IdFitsState(const std::optional<int32_t>& id, JournalState state) {
  return id && *id >= 0 && (state == JournalState::Sent) == (*id > 0);
}

std::optional<JournalPhoto> PhotoOf(std::string_view rest) {
  JournalPhoto photo;
  const std::optional<JournalState> state = StateOf(NextWord(rest));
  if (!state) return std::nullopt;
  photo.state = *state;
  const auto turn = NumberOf<int>(NextWord(rest));
  const auto id = NumberOf<int32_t>(NextWord(rest));
  std::optional<std::string> path = UnescapeJournalText(rest);
  if (!turn || !IsTurn(*turn) || !IdFitsState(id, photo.state) || !path || path->empty()) return std::nullopt;
  photo.turn = *turn;
  photo.photoId = *id;
  photo.sourcePath = std::move(*path);
  return photo;
}

// Applies the change `rest` says to its photo; false, with nothing changed, for one not
// understood or of a photo the journal does not have.
bool ApplyChange(std::string_view rest, std::vector<JournalPhoto>& photos) {
  const auto entry = NumberOf<size_t>(NextWord(rest));
  const std::optional<JournalState> state = StateOf(NextWord(rest));
  const auto id = NumberOf<int32_t>(rest);
  if (!entry || *entry >= photos.size() || !state || !IdFitsState(id, *state)) return false;
  photos[*entry].state = *state;
  photos[*entry].photoId = *id;
  return true;
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

std::string EncodeBatchJournal(const BatchJournal& journal, JournalForm form) {
  std::string text(form == JournalForm::kWhole ? kHeading : kChangesHeading);
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

std::string EncodeJournalChange(size_t entry, JournalState state, int32_t photoId) {
  return "change " + std::to_string(entry) + " " + std::string(kStateNames[static_cast<size_t>(state)]) + " " +
         std::to_string(state == JournalState::Sent ? photoId : 0) + "\n";
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
  const bool changesFollow = !lines.empty() && lines[0] == kChangesHeading;
  if (lines.size() < 3 || (lines[0] != kHeading && !changesFollow)) return std::nullopt;
  const std::optional<std::string_view> tags = Fact(lines[1], "tags");
  const std::optional<std::string_view> visibility = Fact(lines[2], "visibility");
  BatchJournal journal;
  std::optional<std::string> tagsText = tags ? UnescapeJournalText(*tags) : std::nullopt;
  const std::optional<int> index = visibility ? NumberOf<int>(*visibility) : std::nullopt;
  if (!tagsText || !index || *index < -1 || *index > 2) return std::nullopt;
  journal.tags = std::move(*tagsText);
  journal.visibilityIndex = *index;
  size_t line = 3;
  for (; line < lines.size(); ++line) {
    const std::optional<std::string_view> fact = Fact(lines[line], "photo");
    std::optional<JournalPhoto> photo = fact ? PhotoOf(*fact) : std::nullopt;
    if (!photo) break;
    journal.photos.push_back(std::move(*photo));
  }
  for (; changesFollow && line < lines.size(); ++line) {
    const std::optional<std::string_view> fact = Fact(lines[line], "change");
    if (!fact || !ApplyChange(*fact, journal.photos)) break;
  }
  return journal;
}

}  // namespace fernwick
