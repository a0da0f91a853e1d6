// Starts the phrase editor on a thread of its own and reports to the tray
// window when it started, failed to start and ended.
#pragma once

#include "platform/types.h"
#include "platform/win32/windows_api.h"

namespace wlk::app {

// The launch thread also ends when the program ends (its instance event is set).
void LaunchPhraseEditor(HWND tray, const Text& editorPath, const Text& parameters, bool admin);

}  // namespace wlk::app
