// The plain text of an RTF document, for titles. The program shows a title,
// never edits through this, so a close reading of the common RTF is enough.
#pragma once

#include <string_view>

#include "platform/types.h"

namespace wlk::history {

// Paragraph and line marks become "\r", tabs "\t"; hidden destinations (font
// and colour tables, pictures, "\*" groups) are left out; "\'hh" is read as
// Latin-1 and "\uN" as the character N.
Text PlainTextFromRtf(std::string_view rtf);

}  // namespace wlk::history
