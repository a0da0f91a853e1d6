#include "editor/macro_picker_win32.h"

#include <vector>

#include "editor/macro_catalog.h"
#include "platform/win32/wide.h"

namespace wlk::editor {

namespace {

using platform::win32::AsWide;

// Item ids are the entry's index plus this, so that 0 stays "dismissed".
constexpr UINT kFirstItemId = 1;

// A menu text shows "&" as an underline unless it is doubled.
Text MenuText(const Text& text) {
    Text shown;
    for (char16_t c : text) {
        if (c == u'&') shown += c;
        shown += c;
    }
    return shown;
}

HMENU GroupMenu(const std::vector<MacroEntry>& entries, MacroGroup group) {
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].group != group) continue;
        const Text item = MenuText(entries[i].name + u" \u2014 " + entries[i].description);
        AppendMenuW(menu, MF_STRING, kFirstItemId + UINT(i), AsWide(item));
    }
    return menu;
}

}  // namespace

std::optional<Text> PickMacro(HWND owner, POINT screenPoint) {
    const std::vector<MacroEntry> entries = MacroCatalog();
    HMENU menu = CreatePopupMenu();
    for (MacroGroup group : kMacroGroups)
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(GroupMenu(entries, group)),
                    AsWide(MacroGroupName(group)));
    const UINT chosen = UINT(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                              screenPoint.x, screenPoint.y, owner, nullptr));
    DestroyMenu(menu);  // and its submenus with it
    if (chosen < kFirstItemId || chosen - kFirstItemId >= entries.size()) return std::nullopt;
    return entries[chosen - kFirstItemId].insert;
}

void InsertAtCaret(HWND richEdit, const Text& text) {
    SendMessageW(richEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(AsWide(text)));
}

}  // namespace wlk::editor
