// A phrase-menu command sent by another process of the product in WM_COPYDATA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace wlk::app {

struct CopyDataCommand {
    int32_t command = 0;
    int32_t argument = 0;
};

// The first 32-bit word is the command, the word at byte 134 its argument;
// nothing when the data is too short to hold both.
std::optional<CopyDataCommand> ParseCopyDataCommand(const void* data, size_t size);

}  // namespace wlk::app
