// The states and texts of the tray menu's items when one of its popups opens.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/types.h"

namespace wlk::app {

struct TrayMenuFacts {
    bool servicesInstalled = false;
    bool startWithWindows = false;
    int delayAutoLoadSeconds = 0;
    bool sounds = false;
    bool logOpen = false;
    bool historyPaneOnStart = false;
    bool paneExists = false;
    bool saveHistoryOnExit = false;
    bool clipboardHasText = false;
    bool watcherExists = false;
    int historyCount = 0;
    int historyMax = 0;
    int phrasesAll = 0;
    int phrasesShown = 0;
    bool admin = false;
};

struct MenuItemState {
    uint32_t id = 0;
    bool checked = false;
    bool enabled = true;
    // A new text, made from the item's current one.
    std::optional<Text> text;
};

// `currentText` gives an item's text as the menu holds it now.
std::vector<MenuItemState> TrayMenuStates(const TrayMenuFacts& facts,
                                          const std::function<Text(uint32_t id)>& currentText);

// The text of the "Clipboard History" submenu item: its text before any " ["
// followed by " [count/max]".
Text HistorySubmenuText(const Text& current, int count, int max);

// The text before any " [", trailing blanks removed, followed by `suffix`.
Text WithCountSuffix(const Text& current, const Text& suffix);

}  // namespace wlk::app
