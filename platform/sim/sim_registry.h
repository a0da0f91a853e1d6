// Registry values in a map; every key exists unless a test removes writes.
#pragma once

#include <map>
#include <mutex>

#include "platform/registry.h"

namespace wlk::platform::sim {

class SimRegistry : public Registry {
public:
    std::optional<Text> ReadString(const Text& key, const Text& name, size_t maxBytes) override;
    bool WriteString(const Text& key, const Text& name, const Text& value) override;
    bool DeleteValue(const Text& key, const Text& name) override;

    bool failAccess = false;
    // Byte length given to the last WriteString, as RegSetValueExW would get it.
    size_t lastWriteBytes = 0;

private:
    static Text Id(const Text& key, const Text& name);
    std::mutex mutex_;
    std::map<Text, Text> values_;
};

}  // namespace wlk::platform::sim
