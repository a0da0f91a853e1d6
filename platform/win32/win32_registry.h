// REG_SZ values under HKEY_CURRENT_USER.
#pragma once

#include "platform/registry.h"

namespace wlk::platform::win32 {

class Win32Registry final : public Registry {
public:
    std::optional<Text> ReadString(const Text& key, const Text& name, size_t maxBytes) override;
    bool WriteString(const Text& key, const Text& name, const Text& value) override;
    bool DeleteValue(const Text& key, const Text& name) override;
};

}  // namespace wlk::platform::win32
