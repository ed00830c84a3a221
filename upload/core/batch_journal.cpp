#include "upload/core/batch_journal.h"

#include <array>
#include <charconv>

namespace fernwick {

namespace {

constexpr std::string_view kHeading = "fernwick batch journal 1";
constexpr std::string_view kChangesHeading = "fernwick batch journal 1, changes appended";
constexpr std::array<std::string_view, 5> kStateNames = {"waiting", "sent", "failed", "sending", "unsure"};
constexpr char kHexDigits[] = "0123456789ABCDEF";

template <class Number>
std::optional<Number> NumberOf(std::string_view word, int base = 10) {
  Number value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          out += "\\x";
          out += kHexDigits[static_cast<unsigned char>(c) >> 4];
          out += kHexDigits[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::optional<char> HexByte(std::string_view digits) {
  const auto value = digits.size() == 2 ? NumberOf<unsigned>(digits, 16) : std::nullopt;
  return value ? std::optional<char>(static_cast<char>(*value)) : std::nullopt;
}

// None for an unknown escape, a lone backslash at the end, or a raw control character (which
// the writer never leaves in a line).
std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++at == text.size()) return std::nullopt;
    switch (text[at]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        const std::optional<char> byte = HexByte(text.substr(at + 1, 2));
        if (!byte) return std::nullopt;
        out += *byte;
        at += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

// The text up to the next blank, and `rest` moved past that blank.
std::string_view NextWord(std::string_view& rest) {
  const size_t blank = rest.find(' ');
  const std::string_view word = rest.substr(0, blank);
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  return word;
}

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
  std::optional<std::string> path = Unescaped(rest);
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
  text += "\ntags " + Escaped(journal.tags) + "\nvisibility " + std::to_string(journal.visibilityIndex) + "\n";
  for (const JournalPhoto& photo : journal.photos) {
    text += "photo ";
    text += kStateNames[static_cast<size_t>(photo.state)];
    text +=
        " " + std::to_string(photo.turn) + " " + std::to_string(photo.photoId) + " " + Escaped(photo.sourcePath) + "\n";
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
  std::optional<std::string> tagsText = tags ? Unescaped(*tags) : std::nullopt;
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
