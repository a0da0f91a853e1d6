// Records every list of key events it is given, and can be told to insert
// fewer, as a system that blocks input would.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/input.h"

namespace wlk::platform::sim {

class SimInput : public Input {
public:
    size_t Send(std::span<const KeyInput> keys) override;
    uint16_t ScanCode(uint16_t virtualKey) override;

    // Each Send call's list, in call order.
    std::vector<std::vector<KeyInput>> Calls();
    // At most this many events of a call are inserted.
    std::optional<size_t> insertLimit;
    // Called with the inserted events, on the sender's thread: the focused
    // program's reaction to them.
    std::function<void(std::span<const KeyInput>)> onInserted;
    // Scan codes of the US layout for the keys the logic sends.
    std::map<uint16_t, uint16_t> scanCodes{{kVkControl, 0x1D}, {kVkC, 0x2E}};

private:
    std::mutex mutex_;
    std::vector<std::vector<KeyInput>> calls_;
};

}  // namespace wlk::platform::sim
