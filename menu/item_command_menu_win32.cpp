#include "menu/item_command_menu_win32.h"

#include "language/interface_strings.h"
#include "platform/text.h"
#include "platform/win32/wide.h"

namespace wlk::menu {

namespace {

constexpr size_t kShortTitleChars = 20;

// The interface strings of the commands, by action code.
constexpr uint32_t kCopyString = 340;
constexpr uint32_t kOpenUrlString = 341;
constexpr uint32_t kEditString = 342;
constexpr uint32_t kOpenWithString = 343;
constexpr uint32_t kGoogleString = 344;
constexpr uint32_t kYandexString = 345;
constexpr uint32_t kWikipediaString = 346;
constexpr uint32_t kMsdnString = 347;

// The item's label on one line, cut short enough to sit in brackets.
Text ShortTitle(const Text& label) {
    Text title = Trim(label.substr(0, label.find_first_of(u"\r\n\t")));
    if (title.size() > kShortTitleChars) title = title.substr(0, kShortTitleChars) + u"\u2026";
    return title;
}

void Append(HMENU menu, int action, const Text& text, bool grey) {
    AppendMenuW(menu, MF_STRING | (grey ? MF_GRAYED : 0), UINT_PTR(action + 1),
                platform::win32::AsWide(text));
}

}  // namespace

bool HasItemCommands(const MenuItemData& item) {
    return item.commandId != 0 && !item.OpensSubmenu() && !item.IsSeparator() &&
           !item.IsExtraCommand();
}

HMENU CreateItemCommandMenu(const MenuItemData& item) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    // Pictures have no text to open or search for; phrases are edited in
    // the phrase editor, not here.
    const bool picture = item.isBitmap;
    const bool phrase = item.kind == ItemKind::Phrase;
    const Text title = u" [" + ShortTitle(item.label) + u"]";
    using language::GetString;
    Append(menu, kActionCopy, GetString(kCopyString), false);
    Append(menu, kActionOpenUrl, GetString(kOpenUrlString), picture);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    Append(menu, kActionEdit, GetString(kEditString), phrase);
    Append(menu, kActionOpenWith, GetString(kOpenWithString) + u"\u2026", phrase);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    Append(menu, kActionGoogle, GetString(kGoogleString) + title, picture);
    Append(menu, kActionYandex, GetString(kYandexString) + title, picture);
    Append(menu, kActionWikipedia, GetString(kWikipediaString) + title, picture);
    Append(menu, kActionMsdn, GetString(kMsdnString) + title, picture);
    return menu;
}

int TrackItemCommandMenu(HWND owner, const MenuItemData& item) {
    HMENU menu = CreateItemCommandMenu(item);
    if (!menu) return kActionNone;
    POINT cursor{};
    GetCursorPos(&cursor);
    const int chosen = int(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_RECURSE,
                                            cursor.x, cursor.y, owner, nullptr));
    DestroyMenu(menu);
    return chosen > 0 ? chosen - 1 : kActionNone;
}

}  // namespace wlk::menu
