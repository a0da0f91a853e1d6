// The keyboard beyond SendInput: key states and keybd_event, the installed
// layouts and the user's layout-switch hotkey, and the few facts the text
// insertion asks of the system around them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/input.h"
#include "platform/types.h"

namespace wlk::platform {

// GetKeyState's bits: the key is down, or (for a toggle key) toggled on.
inline constexpr uint16_t kKeyStateDown = 0x8000;
inline constexpr uint16_t kKeyStateToggled = 0x0001;

// The "Hotkey" value of the user's "Keyboard Layout\Toggle" key.
struct ToggleHotkey {
    enum class State { Read, Missing, Unreadable };
    State state = State::Missing;
    Text value;  // only when Read
};

class Keyboard {
public:
    virtual ~Keyboard() = default;
    // GetKeyState of this thread, as the 16 bits Windows gives.
    virtual uint16_t KeyState(uint16_t virtualKey) = 0;
    // keybd_event with the key's virtual key, scan code and flags.
    virtual void KeybdEvent(const KeyInput& key) = 0;
    // GetKeyboardLayoutList: the installed layouts, as the 32 bits a handle
    // carries, in the system's order.
    virtual std::vector<uint32_t> InstalledLayouts() = 0;
    // HKEY_CURRENT_USER "Keyboard Layout\Toggle", value "Hotkey", read into
    // at most 20 bytes: Missing when the value is not there, Unreadable when
    // the key cannot be opened or the value not read as a string.
    virtual ToggleHotkey LayoutToggleHotkey() = 0;
    // GetThreadLocale: the locale clipboard text is tagged with.
    virtual uint32_t ThreadLocale() = 0;
    // GetCurrentProcessId: tells the program's own windows from a target's.
    virtual uint32_t ProcessId() = 0;
    // GetDesktopWindow.
    virtual WindowId DesktopWindow() = 0;
};

}  // namespace wlk::platform
