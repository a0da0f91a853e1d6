// The settings file as the environment report shows it.
#pragma once

#include <string_view>

#include "platform/types.h"

namespace wlk::info {

// The text of the settings file's bytes (UTF-16 with its byte order mark, as
// the profile functions keep it, UTF-8 with a mark, or else the system's ANSI
// code page), one line per CR LF, without the keys that name the user's own
// places.
Text SettingsExcerpt(std::string_view bytes);

}  // namespace wlk::info
