// Language file values keep each text on one line: carriage return, line feed
// and tab are stored as the two characters "\r", "\n" and "\t".
#pragma once

#include <string_view>

#include "platform/types.h"

namespace wlk::language {

Text Escape(std::u16string_view text);
// Any other backslash stays as it is, so paths such as "Edit menu\settings"
// survive; only the three sequences above turn back into control characters.
Text Unescape(std::u16string_view text);

}  // namespace wlk::language
