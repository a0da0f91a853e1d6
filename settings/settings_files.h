// The two settings files and which of them a key is read from or written to.
#pragma once

#include <set>

#include "platform/types.h"

namespace wlk::settings {

inline constexpr char16_t kSettingsSection[] = u"Settings";

// "Settings.ini" beside the program.
Text ProgramSettingsPath();
// "<profile>\Wordlark\Settings.ini"; with `create`, makes the folder when it is
// missing (never on a portable drive).
Text UserSettingsPath(bool create);
// The file all settings are written to: beside the program on a portable
// drive or where the user may write there, else the user file.
Text WriteSettingsPath();

// Answers which file each key is read from: the program file when its section
// holds the key (exact, case-sensitive name), else the user file.
class KeySources {
public:
    KeySources();
    const Text& FileFor(const Text& key) const;

private:
    Text programFile_;
    Text userFile_;
    std::set<Text> programKeys_;
};

}  // namespace wlk::settings
