// Remembers the last window of another process that had the foreground, so
// that the program can hand the focus back after one of its own windows took it.
#pragma once

#include <windows.h>

namespace wlk::hook {

// Starts listening in the calling thread, which must run a message loop:
// the system reports foreground changes to it out of context.
bool StartForegroundTracking();
void StopForegroundTracking();
// The remembered window while it still exists, else 0.
HWND LastForeignForeground();

}  // namespace wlk::hook
