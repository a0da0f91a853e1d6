// The hook procedure that answers the program's query request inside the
// target's GUI thread.
#pragma once

#include <windows.h>

namespace wlk::hook {

// For SetWindowsHookExW(WH_GETMESSAGE, ...).
LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM message) noexcept;

}  // namespace wlk::hook
