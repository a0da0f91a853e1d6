#include "app/copy_data_command.h"

#include <cstring>

namespace wlk::app {

std::optional<CopyDataCommand> ParseCopyDataCommand(const void* data, size_t size) {
    constexpr size_t kArgumentOffset = 134;
    if (!data || size < kArgumentOffset + sizeof(int32_t)) return std::nullopt;
    CopyDataCommand command;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::memcpy(&command.command, bytes, sizeof(int32_t));
    std::memcpy(&command.argument, bytes + kArgumentOffset, sizeof(int32_t));
    return command;
}

}  // namespace wlk::app
