// The registry values the program reads and writes: the installer mark and the
// "Start with Windows" entry.
#pragma once

#include "platform/types.h"

namespace wlk::settings {

inline constexpr char16_t kRunKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char16_t kRunValue[] = u"Wordlark";

// "FromInstaller" under the product's key is present and not empty.
bool IsFromInstaller();
// The Run value names this program (letter case ignored).
bool IsStartWithWindows();
// Sets the Run value to "<program path> /autoload", or deletes it.
bool SetStartWithWindows(bool on);

}  // namespace wlk::settings
