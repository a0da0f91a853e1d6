// Giving the keyboard focus and the foreground to another program's window.
// Windows lets a thread do either only while its input is attached to the
// window's thread, so both attach for the moment of the call.
#pragma once

#include "platform/types.h"

namespace wlk::bridge {

// Gives the focus back to the target window, after a dialog of ours took it.
// False when the window's thread is unknown or its input cannot be attached.
bool FocusTargetWindow(platform::WindowId window);

// Brings a window of ours to the foreground for its lifetime (the phrase
// menu's owner) and gives the foreground back to the window that had it when
// it ends. Nothing happens when that window is ours or there was none.
class CAutoForegroundWindow {
public:
    explicit CAutoForegroundWindow(platform::WindowId window);
    ~CAutoForegroundWindow() { End(); }
    CAutoForegroundWindow(const CAutoForegroundWindow&) = delete;
    CAutoForegroundWindow& operator=(const CAutoForegroundWindow&) = delete;

    // Gives the foreground back now; the destructor then does nothing.
    void End();

private:
    void LogWindows();
    void ForegroundWithin(platform::WindowId window);

    platform::WindowId previous_ = 0;
    platform::WindowId window_ = 0;
    bool done_ = false;
};

}  // namespace wlk::bridge
