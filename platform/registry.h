// REG_SZ values under HKEY_CURRENT_USER.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/types.h"

namespace wlk::platform {

class Registry {
public:
    virtual ~Registry() = default;
    // RegOpenKeyExW(KEY_QUERY_VALUE) + RegQueryValueExW into `maxBytes` bytes.
    virtual std::optional<Text> ReadString(const Text& key, const Text& name, size_t maxBytes) = 0;
    // RegOpenKeyExW(KEY_ALL_ACCESS) + RegSetValueExW(REG_SZ); the data length
    // in bytes is twice the length in characters, without the terminator.
    virtual bool WriteString(const Text& key, const Text& name, const Text& value) = 0;
    // RegOpenKeyExW(KEY_ALL_ACCESS) + RegDeleteValueW.
    virtual bool DeleteValue(const Text& key, const Text& name) = 0;
};

}  // namespace wlk::platform
