// Restarting the program with administrator rights: the elevated start waits
// until this instance has ended, then becomes the running instance.
#pragma once

#include <functional>

#include "platform/types.h"

namespace wlk::app {

// `closeTrayWindow` sends the exit command and WM_CLOSE to the tray window
// and destroys it. Returns true when the elevated start was launched.
bool RunAsAdministrator(platform::WindowId trayWindow,
                        const std::function<void()>& closeTrayWindow);

}  // namespace wlk::app
