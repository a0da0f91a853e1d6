#include "language/menu_key.h"

namespace wlk::language {

namespace {
constexpr char16_t kEllipsis = u'\u2026';
constexpr std::u16string_view kListable =
    u"qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM"
    u"<>,./?\";:']}[{1234567890!@#$%^&*()-_=+\\|";
}  // namespace

MenuText CleanMenuText(std::u16string_view itemText) {
    MenuText result;
    std::u16string_view label = itemText;
    if (const size_t tab = itemText.find(u'\t'); tab != std::u16string_view::npos) {
        label = itemText.substr(0, tab);
        result.shortcut = Text(itemText.substr(tab + 1));
    }
    for (char16_t c : label) {
        if (c != u'&') result.display += c;
    }
    for (char16_t c : result.display) {
        if (c == kEllipsis) continue;
        result.key += c == u' ' ? u'_' : c;
    }
    while (!result.key.empty() && (result.key.back() == u'.' || result.key.back() == kEllipsis))
        result.key.pop_back();
    return result;
}

Text ItemTextKey(std::u16string_view itemText) {
    Text key;
    for (size_t i = 0; i < itemText.size(); ++i) {
        const bool beforeAmpersand = i + 1 < itemText.size() && itemText[i + 1] == u'&';
        if (itemText[i] != u'&' || beforeAmpersand) key += itemText[i];
    }
    if (!key.empty() && key.back() == kEllipsis) key.pop_back();
    return key;
}

bool MayListKey(std::u16string_view key) {
    if (key.empty()) return false;
    for (char16_t c : key) {
        if (kListable.find(c) == std::u16string_view::npos) return false;
    }
    return true;
}

}  // namespace wlk::language
