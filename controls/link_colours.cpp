#include "controls/link_colours.h"

#include <optional>

#include "controls/core/link_text.h"
#include "base/handles.h"

namespace fernwick {

namespace {
std::optional<COLORREF> ReadColourValue(HKEY key, const char* name) {
  unsigned char data[12] = {};
  DWORD size = sizeof(data);
  DWORD type = 0;
  if (::RegQueryValueExA(key, name, nullptr, &type, data, &size) != ERROR_SUCCESS || type != REG_SZ) {
    return std::nullopt;
  }
  const std::optional<uint32_t> colour = ParseColourValue(data, size);
  if (!colour) return std::nullopt;
  return static_cast<COLORREF>(*colour);
}
}  // namespace

LinkColours ReadBrowserLinkColours() {
  LinkColours colours;
  UniqueHKey key;
  // Only read: asking for write access as well would fail on locked-down accounts for nothing.
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kBrowserSettingsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return colours;
  }
  if (auto link = ReadColourValue(key.get(), "Anchor Color")) colours.link = *link;
  if (auto visited = ReadColourValue(key.get(), "Anchor Color Visited")) colours.visited = *visited;
  return colours;
}

}  // namespace fernwick
