// Named shared areas that exist while a handle to them is open.
#pragma once

#include <map>
#include <mutex>

#include "platform/shared_memory.h"

namespace wlk::platform::sim {

class SimSharedMemory : public SharedMemory {
public:
    std::unique_ptr<SharedArea> Create(const Text& name, size_t size, Security security) override;
    std::unique_ptr<SharedArea> Open(const Text& name, size_t size) override;

    bool failCreate = false;

private:
    struct Block {
        std::string bytes;
        Security security;
    };
    class Area;
    std::mutex mutex_;
    std::map<Text, std::weak_ptr<Block>> named_;
};

}  // namespace wlk::platform::sim
