#include "base/core/browser_command.h"

namespace fernwick {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The last blank-separated word of the command (blanks inside quotes do not separate).
std::string_view LastWord(std::string_view command) {
  std::size_t wordStart = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (command[i] == '"') quoted = !quoted;
    if (!quoted && IsBlank(command[i])) wordStart = i + 1;
  }
  return command.substr(wordStart);
}

}  // namespace

bool IsPlainWebAddress(std::string_view address) {
  std::size_t schemeLength = 0;
  if (StartsWithNoCase(address, "http://")) {
    schemeLength = 7;
  } else if (StartsWithNoCase(address, "https://")) {
    schemeLength = 8;
  } else {
    return false;
  }
  if (address.size() == schemeLength) return false;
  for (char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == ' ' || c == '"' || c == '\'') return false;
  }
  return true;
}

std::optional<std::string> BuildBrowserCommandLine(std::string_view handlerCommand, std::string_view address) {
  if (handlerCommand.empty()) return std::nullopt;
  std::string line;
  const std::size_t placeholder = handlerCommand.find("%1");
  if (placeholder != std::string_view::npos) {
    for (std::size_t i = 0; i < handlerCommand.size();) {
      if (handlerCommand.compare(i, 2, "%1") == 0) {
        line += address;
        i += 2;
      } else {
        line += handlerCommand[i++];
      }
      if (line.size() > kMaxCommandLine) return std::nullopt;
    }
  } else {
    const std::string_view last = LastWord(handlerCommand);
    const bool endsInSwitch = !last.empty() && (last.front() == '-' || last.front() == '/');
    line.reserve(handlerCommand.size() + address.size() + 1);
    line += handlerCommand;
    if (endsInSwitch) line += ' ';
    line += address;
  }
  if (line.size() > kMaxCommandLine) return std::nullopt;
  return line;
}

}  // namespace fernwick
