// The query that tells the maker's web site about this installation when it
// asks for the newest version.
#pragma once

#include <vector>

#include "platform/types.h"

namespace wlk::web {

struct InstallationFacts {
    Text version{};  // the program's file version
    Text winver{};
    bool sounds = false;
    bool installed = false;  // set up by the installer rather than copied
    Text hotkey{};           // as the menus name it, "Ctrl+Alt+Enter"
    bool hotkeyDoubled = false;
    bool autoCheck = false;
    int days = 0;
    Text langFile{};  // the interface language file's name, empty for English
    Text languages{}, country{}, domain{}, ram{}, screen{}, mfc{};
    std::vector<int> skippedVersions{};
};

// "?wlk_version=...&winver=...": every value with its blanks as "_" and
// escaped for a URL; "SkippedVersion" only when versions were skipped.
Text BuildUpdateQuery(const InstallationFacts& facts);

}  // namespace wlk::web
