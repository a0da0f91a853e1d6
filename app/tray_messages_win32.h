// The registered messages the tray window answers beside the instance message.
#pragma once

#include "platform/win32/windows_api.h"

namespace wlk::app {

// The shell restarted: the tray icon is added again.
UINT TaskbarCreatedMessage();
// lParam: a text for the start-up notes.
UINT StartupNoteMessage();
// The hook component saw the mouse gesture.
UINT GestureMessage();

}  // namespace wlk::app
