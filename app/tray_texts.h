// Texts the tray icon shows: its tooltip and the hotkey balloon.
#pragma once

#include "platform/types.h"

namespace wlk::app {

struct TrayFacts {
    bool admin = false;
    bool servicesOn = false;
    Text hotkeyText;
    Text phrasesFolder;
};

// "Wordlark[^] - ON|OFF" and the lines about the hotkey, the menu and the
// phrases folder, cut to the 126 characters the icon can show.
Text TrayTooltip(const TrayFacts& facts);

// "Wordlark - ON" or "Wordlark - OFF", in the interface language.
Text TrayCaption(bool servicesOn);

// "Press system hot key detected - <hotkey>\nShowing menu…".
Text HotkeyBalloon(const Text& hotkeyText);

}  // namespace wlk::app
