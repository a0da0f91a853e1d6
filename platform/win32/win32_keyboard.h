// Key states, keybd_event, keyboard layouts and the layout-switch setting.
#pragma once

#include "platform/keyboard.h"

namespace wlk::platform::win32 {

class Win32Keyboard final : public Keyboard {
public:
    uint16_t KeyState(uint16_t virtualKey) override;
    void KeybdEvent(const KeyInput& key) override;
    std::vector<uint32_t> InstalledLayouts() override;
    ToggleHotkey LayoutToggleHotkey() override;
    uint32_t ThreadLocale() override;
    uint32_t ProcessId() override;
    WindowId DesktopWindow() override;
};

}  // namespace wlk::platform::win32
