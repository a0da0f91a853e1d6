#include "hook/foreground_tracking.h"

#include <initializer_list>

namespace wlk::hook {

namespace {

// Only the installing thread sets and reads these: the events are delivered
// to it, and the program asks from the same process.
HWINEVENTHOOK g_foregroundTracker = nullptr;
HWINEVENTHOOK g_focusTracker = nullptr;
HWND g_lastForeign = nullptr;

bool IsForeign(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process != 0 && process != GetCurrentProcessId();
}

void Remember(HWND window) {
    if (window && IsForeign(window)) g_lastForeign = window;
}

// A focus change inside another application's window counts for its top-level window.
void CALLBACK OnWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD,
                            DWORD) noexcept {
    if (!window) return;
    if (event == EVENT_OBJECT_FOCUS) window = GetAncestor(window, GA_ROOT);
    if (object == OBJID_WINDOW || object == OBJID_CLIENT) Remember(window);
}

HWINEVENTHOOK Track(DWORD event) {
    return SetWinEventHook(event, event, nullptr, OnWindowEvent, 0, 0,
                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

}  // namespace

bool StartForegroundTracking() {
    if (g_foregroundTracker) return true;
    // Whatever the user works in now counts until the first change.
    Remember(GetForegroundWindow());
    g_foregroundTracker = Track(EVENT_SYSTEM_FOREGROUND);
    g_focusTracker = Track(EVENT_OBJECT_FOCUS);
    return g_foregroundTracker != nullptr;
}

void StopForegroundTracking() {
    for (HWINEVENTHOOK* tracker : {&g_foregroundTracker, &g_focusTracker}) {
        if (*tracker) UnhookWinEvent(*tracker);
        *tracker = nullptr;
    }
    g_lastForeign = nullptr;
}

HWND LastForeignForeground() {
    // A change that was not reported still counts once it is seen.
    Remember(GetForegroundWindow());
    return g_lastForeign && IsWindow(g_lastForeign) ? g_lastForeign : nullptr;
}

}  // namespace wlk::hook
