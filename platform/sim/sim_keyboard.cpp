#include "platform/sim/sim_keyboard.h"

namespace wlk::platform::sim {

uint16_t SimKeyboard::KeyState(uint16_t virtualKey) {
    auto it = keyStates.find(virtualKey);
    return it == keyStates.end() ? 0 : it->second;
}

void SimKeyboard::KeybdEvent(const KeyInput& key) {
    {
        std::lock_guard lock(mutex_);
        events_.push_back(key);
    }
    if (onEvent) onEvent(key);
}

std::vector<KeyInput> SimKeyboard::Events() {
    std::lock_guard lock(mutex_);
    return events_;
}

}  // namespace wlk::platform::sim
