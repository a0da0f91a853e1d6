#include "platform/sim/sim_registry.h"

#include "platform/text.h"

namespace wlk::platform::sim {

Text SimRegistry::Id(const Text& key, const Text& name) {
    return ToLower(key + u"\n" + name);
}

std::optional<Text> SimRegistry::ReadString(const Text& key, const Text& name, size_t maxBytes) {
    std::lock_guard lock(mutex_);
    auto it = values_.find(Id(key, name));
    if (failAccess || it == values_.end()) return std::nullopt;
    if ((it->second.size() + 1) * 2 > maxBytes) return std::nullopt;  // ERROR_MORE_DATA
    return it->second;
}

bool SimRegistry::WriteString(const Text& key, const Text& name, const Text& value) {
    std::lock_guard lock(mutex_);
    if (failAccess) return false;
    values_[Id(key, name)] = value;
    lastWriteBytes = value.size() * 2;
    return true;
}

bool SimRegistry::DeleteValue(const Text& key, const Text& name) {
    std::lock_guard lock(mutex_);
    return !failAccess && values_.erase(Id(key, name)) == 1;
}

}  // namespace wlk::platform::sim
