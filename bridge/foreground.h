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
    // `stayAttached` keeps this thread's input attached to the previous
    // window's thread until the end: a menu tracked meanwhile then gets the
    // keys also where the system goes on delivering them to that window's
    // thread (Wine without a window manager does).
    explicit CAutoForegroundWindow(platform::WindowId window, bool stayAttached = false);
    ~CAutoForegroundWindow() { End(); }
    CAutoForegroundWindow(const CAutoForegroundWindow&) = delete;
    CAutoForegroundWindow& operator=(const CAutoForegroundWindow&) = delete;

    // Gives the foreground back now; the destructor then does nothing.
    void End();

private:
    void LogWindows();
    bool Attach(bool attach);

    platform::WindowId previous_ = 0;
    platform::WindowId window_ = 0;
    bool stayAttached_ = false;
    bool attached_ = false;
    bool done_ = false;
};

}  // namespace wlk::bridge
