#include "hook/foreground_tracking.h"

namespace wlk::hook {

namespace {

// Only the installing thread sets and reads these: the events are delivered
// to it, and the program asks from the same process.
HWINEVENTHOOK g_tracker = nullptr;
HWND g_lastForeign = nullptr;

bool IsForeign(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process != 0 && process != GetCurrentProcessId();
}

void Remember(HWND window) {
    if (window && IsForeign(window)) g_lastForeign = window;
}

void CALLBACK OnForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD,
                           DWORD) noexcept {
    if (object == OBJID_WINDOW) Remember(window);
}

}  // namespace

bool StartForegroundTracking() {
    if (g_tracker) return true;
    // Whatever the user works in now counts until the first change.
    Remember(GetForegroundWindow());
    g_tracker = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                OnForeground, 0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    return g_tracker != nullptr;
}

void StopForegroundTracking() {
    if (g_tracker) UnhookWinEvent(g_tracker);
    g_tracker = nullptr;
    g_lastForeign = nullptr;
}

HWND LastForeignForeground() {
    // A change that was not reported still counts once it is seen.
    Remember(GetForegroundWindow());
    return g_lastForeign && IsWindow(g_lastForeign) ? g_lastForeign : nullptr;
}

}  // namespace wlk::hook
