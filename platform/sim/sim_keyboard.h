// A keyboard whose key states, layouts and toggle setting a test sets, and
// which records every keybd_event it is given.
#pragma once

#include <functional>
#include <map>
#include <mutex>

#include "platform/keyboard.h"

namespace wlk::platform::sim {

class SimKeyboard : public Keyboard {
public:
    uint16_t KeyState(uint16_t virtualKey) override;
    void KeybdEvent(const KeyInput& key) override;
    std::vector<uint32_t> InstalledLayouts() override { return layouts; }
    ToggleHotkey LayoutToggleHotkey() override { return toggle; }
    uint32_t ThreadLocale() override { return threadLocale; }
    uint32_t ProcessId() override { return processId; }
    WindowId DesktopWindow() override { return desktop; }

    // The keybd_event calls so far.
    std::vector<KeyInput> Events();
    // Called with each keybd_event, on the caller's thread.
    std::function<void(const KeyInput&)> onEvent;

    std::map<uint16_t, uint16_t> keyStates;
    std::vector<uint32_t> layouts{0x04090409};
    ToggleHotkey toggle;
    uint32_t threadLocale = 0x0409;
    uint32_t processId = 0x1F00;
    WindowId desktop = 0x10010;

private:
    std::mutex mutex_;
    std::vector<KeyInput> events_;
};

}  // namespace wlk::platform::sim
