#include "app/tray_menu_states.h"

#include "app/tray_commands.h"
#include "platform/text.h"

namespace wlk::app {

Text WithCountSuffix(const Text& current, const Text& suffix) {
    return TrimRight(current.substr(0, current.find(u" ["))) + suffix;
}

Text HistorySubmenuText(const Text& current, int count, int max) {
    return WithCountSuffix(current, u" [" + ToText(count) + u"/" + ToText(max) + u"]");
}

std::vector<MenuItemState> TrayMenuStates(const TrayMenuFacts& facts,
                                          const std::function<Text(uint32_t id)>& currentText) {
    std::vector<MenuItemState> states;
    auto add = [&states](uint32_t id, bool checked, bool enabled) -> MenuItemState& {
        return states.emplace_back(MenuItemState{id, checked, enabled, std::nullopt});
    };
    auto& startWithWindows = add(kCmdStartWithWindows, facts.startWithWindows, true);
    if (facts.delayAutoLoadSeconds != 0) {
        // Each popup of the menu that opens sets the states again: the delay is shown once.
        Text text = currentText(kCmdStartWithWindows);
        text = text.substr(0, text.find(u" (+"));
        startWithWindows.text = text + u" (+" + ToText(facts.delayAutoLoadSeconds) + u"sec)";
    }
    add(kCmdEnableMenuOfPhrases, facts.servicesInstalled, true);
    add(kCmdSounds, facts.sounds, true);
    add(kCmdWriteLog, facts.logOpen, true);
    add(kCmdHistoryPaneOnStart, facts.historyPaneOnStart, true);
    add(kCmdHistoryPane, facts.paneExists, true);
    add(kCmdSaveHistoryOnExit, facts.saveHistoryOnExit, true);
    add(kCmdMenuOnMouseEvent, false, false);
    add(kCmdSavePhraseFromClipboard, false, facts.clipboardHasText);
    add(kCmdReKeepHistory, false, facts.watcherExists);
    add(kCmdKeepHistory, facts.watcherExists, true);
    add(kCmdClearHistory, false, facts.historyCount > 0);
    add(kCmdRereadPhrases, false, true).text =
        WithCountSuffix(currentText(kCmdRereadPhrases), u" [" + ToText(facts.phrasesAll) + u"/" +
                                                            ToText(facts.phrasesShown) + u"]");
    add(kCmdRunAsAdministrator, false, !facts.admin);
    return states;
}

}  // namespace wlk::app
