// Choosing the interface language: loading it at start, the tray menu's
// "Language" submenu, and a switch from there or from another program.
#pragma once

#include <cstdint>

#include "platform/menu.h"
#include "platform/types.h"

namespace wlk::settings {
class Settings;
}

namespace wlk::language {

// Commands of the "Language" submenu: its first item opens the page on
// translating the program; the languages follow from kFirstLanguageCommand.
inline constexpr uint32_t kLocalizeHelpCommand = 32776;
inline constexpr uint32_t kFirstLanguageCommand = 33000;
inline constexpr uint32_t kMaxLanguageItems = 50;

inline bool IsLanguageCommand(uint32_t commandId) {
    return commandId >= kFirstLanguageCommand &&
           commandId < kFirstLanguageCommand + kMaxLanguageItems;
}

// The language of the "Language" setting at start: a missing file is created
// and collects the texts shown.
void LoadStartupLanguage(const settings::Settings& settings);

// After the setting changed (here or in another program of the product). An
// empty setting now means the built-in English with no file, until the next
// start makes it "LocalizeExample.lng" again.
void ReloadLanguage(settings::Settings& settings);

// Fills the "Language" submenu of `trayMenu` (the submenu whose first item is
// kLocalizeHelpCommand) anew; the current language is checked and the
// default item. Called after LocalizeMenu, so that the names of languages
// are never listed as English texts to translate. False when the menu has no
// such submenu.
bool RebuildLanguageMenu(platform::Menu& trayMenu);

// Handles a pick from the "Language" submenu: stores the chosen file in the
// "Language" setting, saves the settings, tells the product's other programs
// and loads the language. True when the language was switched, and
// the caller then rebuilds its menus, refreshes the tray icon and tells the
// listeners.
bool SwitchLanguage(uint32_t commandId, settings::Settings& settings);

}  // namespace wlk::language
