// Synthetic keyboard input through SendInput.
#pragma once

#include "platform/input.h"

namespace wlk::platform::win32 {

class Win32Input final : public Input {
public:
    size_t Send(std::span<const KeyInput> keys) override;
    uint16_t ScanCode(uint16_t virtualKey) override;
};

}  // namespace wlk::platform::win32
