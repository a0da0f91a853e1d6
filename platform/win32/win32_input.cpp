#include "platform/win32/win32_input.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

size_t Win32Input::Send(std::span<const KeyInput> keys) {
    if (keys.empty()) return 0;
    std::vector<INPUT> inputs(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i].virtualKey;
        inputs[i].ki.wScan = keys[i].scanCode;
        inputs[i].ki.dwFlags = keys[i].flags;
    }
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

uint16_t Win32Input::ScanCode(uint16_t virtualKey) {
    return uint16_t(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
}

}  // namespace wlk::platform::win32
