#pragma once
// How the upload server's replies are read. The replies look like XML but are never parsed
// as XML: each value is found by a plain substring search for a fixed marker, from the start
// of the reply, so that a reply the server garbled or cut short still gives empty strings and
// zeros instead of an error.
#include <cstdint>
#include <string>
#include <string_view>

namespace fernwick {

// The status of an authentication reply: the text between "userauth stat='" and the next "'".
std::string ReplyStatus(std::string_view reply);

// The text between the first "<key>" and the first "</key>" (both searched from the start);
// empty when either is missing or the close tag starts before the open tag ends.
std::string ElementText(std::string_view reply, std::string_view key);

// The text between the first "key='" and the next "'". The marker may end a longer name.
std::string AttributeValue(std::string_view reply, std::string_view key);

// The C library's decimal rule: leading white space, optional sign, digits up to the first
// non-digit; no digits give 0. Values beyond 32 bits are held at the nearest limit, as strtol
// with a 32-bit long does.
int32_t ReplyNumber(std::string_view text);

}  // namespace fernwick
