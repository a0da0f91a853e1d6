#include "platform/sim/sim_input.h"

#include <algorithm>

namespace wlk::platform::sim {

size_t SimInput::Send(std::span<const KeyInput> keys) {
    size_t inserted = keys.size();
    {
        std::lock_guard lock(mutex_);
        calls_.emplace_back(keys.begin(), keys.end());
        if (insertLimit) inserted = std::min(inserted, *insertLimit);
    }
    if (onInserted) onInserted(keys.first(inserted));
    return inserted;
}

uint16_t SimInput::ScanCode(uint16_t virtualKey) {
    auto it = scanCodes.find(virtualKey);
    return it == scanCodes.end() ? 0 : it->second;
}

std::vector<std::vector<KeyInput>> SimInput::Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
}

}  // namespace wlk::platform::sim
