// Text conversions and small helpers for UTF-16 text. All conversions between
// encodings live here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace wlk {

std::string ToUtf8(std::u16string_view text);
Text FromUtf8(std::string_view bytes);
// Characters 0-255 only; anything else becomes '?'. For Latin-1/ASCII literals and ANSI files.
std::string ToLatin1(std::u16string_view text);
Text FromLatin1(std::string_view bytes);

Text ToText(long long value);
// ASCII, Latin-1 and Cyrillic letters; the same letters for the comparisons below.
Text ToUpper(std::u16string_view text);
Text ToLower(std::u16string_view text);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);
bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix);
Text TrimRight(std::u16string_view text);
Text Trim(std::u16string_view text);
// Decimal integer with optional sign and leading blanks; nothing when no digits.
std::optional<long long> ParseInt(std::u16string_view text);
// Replaces each "%s" / "%d" / "%u" in order with the given texts.
Text Format(std::u16string_view pattern, std::initializer_list<Text> args);
// A Latin-1 literal as Text.
inline Text T(std::string_view ascii) {
    return FromLatin1(ascii);
}

}  // namespace wlk
