// Named shared areas that exist while a handle to them is open.
#pragma once

#include <map>
#include <mutex>

#include "platform/shared_memory.h"

namespace wlk::platform::sim {

class SimSharedMemory : public SharedMemory {
public:
    std::unique_ptr<SharedArea> Create(const Text& name, size_t size, Security security) override;
    std::unique_ptr<SharedArea> CreateNew(const Text& name, size_t size, Security security,
                                          bool& existed) override;
    std::unique_ptr<SharedArea> Open(const Text& name, size_t size) override;

    bool failCreate = false;
    // Writes raw bytes at the start of an existing area, as another process may
    // (with or without a zero byte); false when there is no such area or no room.
    bool PutBytes(const Text& name, const std::string& bytes);

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
