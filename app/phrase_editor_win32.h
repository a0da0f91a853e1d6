// Starts the phrase editor on a thread of its own and reports to the tray
// window when it started, failed to start and ended.
#pragma once

#include "platform/types.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"

namespace wlk::app {

// Publishes the hotkey and `selectedText` for the editor in the shared
// settings area, then starts "WordlarkEditor.exe" from the program's folder
// with `parameters`. The launch thread also ends when the program ends (its
// instance event is set).
void LaunchPhraseEditor(HWND tray, settings::Settings& settings, const Text& selectedText,
                        const Text& parameters);

}  // namespace wlk::app
