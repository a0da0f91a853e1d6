// The phrase menu as plain data: what MakeMenu builds from the phrase library,
// the last used phrases and the clipboard history, before thin Win32 code
// appends it to a real popup menu of owner-drawn items.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "phrases/command.h"
#include "platform/types.h"

namespace wlk::menu {

// Command identifiers of the menu's items.
inline constexpr uint32_t kFirstHistoryId = 2000;
inline constexpr uint32_t kCmdEditSetting = 32772;
inline constexpr uint32_t kCmdSaveSelAsPhrase = 32826;
inline constexpr uint32_t kCmdSupport = 32784;

// MenuItemData::flags.
inline constexpr uint32_t kItemOpensSubmenu = 16;
inline constexpr uint32_t kItemSeparator = 2048;

// The icon of a phrase item by key; kIconOfFile uses the shell icon of
// MenuItemData::iconFile.
inline constexpr int kIconNone = -2;
inline constexpr int kIconOfFile = -1;
inline constexpr int kIconText = 0;
inline constexpr int kIconRtf = 1;
inline constexpr int kIconExec = 2;
inline constexpr int kIconGoogle = 3;
inline constexpr int kIconYandex = 4;

enum class ItemKind : int { Phrase = 0, History = 1 };

// The commands the menu adds after the phrases and the history.
constexpr bool IsExtraCommandId(uint32_t id) {
    return id == kCmdEditSetting || id == kCmdSaveSelAsPhrase || id == kCmdSupport;
}

// One owner-drawn item: everything its drawing, tooltip and right-click
// commands need.
struct MenuItemData {
    Text label;    // at most 255 characters
    Text tag;      // "+EN" for a layout switch, or a separator's label
    Text tooltip;  // empty: none; a phrase's is made when shown (see previewTip)
    Text preview;  // a phrase's body as it would be inserted now, for its tooltip
    ItemKind kind = ItemKind::Phrase;
    bool isBitmap = false;
    phrases::CommandDataType dataType = phrases::CommandDataType::TEXT;
    int index = 0;  // running number in its menu level; a history item's history index
    uint32_t flags = 0;
    bool isDefault = false;
    uint32_t commandId = 0;
    int caretPos = -1;
    int lastUsedIndex = -1;
    int iconKey = kIconNone;
    Text iconFile;
    bool grayed = false;
    // The tooltip is made of the label, preview and tag only when it is
    // shown: a menu has thousands of phrases and shows a few tips.
    bool previewTip = false;

    bool IsSeparator() const { return (flags & kItemSeparator) != 0; }
    bool OpensSubmenu() const { return (flags & kItemOpensSubmenu) != 0; }
    bool IsExtraCommand() const { return IsExtraCommandId(commandId); }
};

struct MenuModel;

// One item of a menu level; a separator has id 0, a group or history
// submenu item has id 0 and a submenu.
struct MenuEntry {
    uint32_t id = 0;
    MenuItemData data;
    std::unique_ptr<MenuModel> submenu;
};

struct MenuModel {
    std::vector<MenuEntry> items;

    // A separator's id is 0; a submenu item is no separator.
    bool LastIsSeparator() const {
        return !items.empty() && items.back().id == 0 && !items.back().submenu;
    }
    // The entry with this id at this level or below; null when none.
    const MenuEntry* Find(uint32_t id) const;
};

// Appends an item to `menu`; its commandId and index (its position in the
// level) are filled, and a label longer than the 255 characters an item holds
// is cut.
MenuEntry& AppendItem(MenuModel& menu, uint32_t id, MenuItemData data);
// An owner-drawn separator, its label (drawn as its tag) possibly empty.
void AppendSeparator(MenuModel& menu, const Text& label = Text());

// The value posted for the menu's choice: an extra command gives its negative
// key (-2, -4, -6), 0 (nothing chosen) gives -1, any other id itself.
int32_t MapMenuResult(uint32_t chosen);

}  // namespace wlk::menu
