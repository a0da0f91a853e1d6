// How a menu item's text becomes the key of its translation in the "Menu"
// section. Keys are the English texts with the decoration taken off, so that
// "&About Wordlark...\tF1" and "About Wordlark" share one translation.
#pragma once

#include <string_view>

#include "platform/types.h"

namespace wlk::language {

struct MenuText {
    Text display;   // without any '&' and without the shortcut
    Text key;       // the display text with blanks as '_', ellipses and trailing dots gone
    Text shortcut;  // what followed the first tab; empty when there was none
};

MenuText CleanMenuText(std::u16string_view itemText);

// The key a single item's text is looked up under for tooltips and balloons:
// the text without each '&' that no other '&' follows, and
// without a trailing ellipsis.
Text ItemTextKey(std::u16string_view itemText);

// Whether a key may be added to a language file for translators: only keys
// made of Latin letters, digits and ASCII punctuation, so that a menu already
// showing a translation (Cyrillic, say) is never listed as if it were English.
bool MayListKey(std::u16string_view key);

}  // namespace wlk::language
