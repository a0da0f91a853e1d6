// The tray window's registration for session changes (lock, logoff, ...),
// each logged.
#pragma once

#include "platform/win32/windows_api.h"

namespace wlk::app {

void RegisterForSessionChanges(HWND window);
void UnregisterFromSessionChanges(HWND window);

}  // namespace wlk::app
