#include "platform/sim/sim_shared_memory.h"

#include <cstring>

namespace wlk::platform::sim {

class SimSharedMemory::Area : public SharedArea {
public:
    explicit Area(std::shared_ptr<Block> block) : block_(std::move(block)) {}
    bool WriteText(const std::string& bytes) override {
        if (bytes.size() + 1 > block_->bytes.size()) return false;
        std::memcpy(block_->bytes.data(), bytes.c_str(), bytes.size() + 1);
        return true;
    }
    std::optional<std::string> ReadText() override {
        const std::string& bytes = block_->bytes;
        const size_t end = bytes.find('\0');
        if (end == std::string::npos) return std::nullopt;
        return bytes.substr(0, end);
    }

private:
    std::shared_ptr<Block> block_;
};

std::unique_ptr<SharedArea> SimSharedMemory::Create(const Text& name, size_t size,
                                                    Security security) {
    std::lock_guard lock(mutex_);
    if (failCreate) return nullptr;
    auto block = named_[name].lock();
    if (!block) {
        block = std::make_shared<Block>(Block{std::string(size, '\0'), security});
        named_[name] = block;
    }
    return std::make_unique<Area>(block);
}

std::unique_ptr<SharedArea> SimSharedMemory::CreateNew(const Text& name, size_t size,
                                                       Security security, bool& existed) {
    {
        std::lock_guard lock(mutex_);
        auto it = named_.find(name);
        existed = it != named_.end() && !it->second.expired();
    }
    return existed ? nullptr : Create(name, size, security);
}

std::unique_ptr<SharedArea> SimSharedMemory::Open(const Text& name, size_t) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto block = it == named_.end() ? nullptr : it->second.lock();
    return block ? std::make_unique<Area>(block) : nullptr;
}

bool SimSharedMemory::PutBytes(const Text& name, const std::string& bytes) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto block = it == named_.end() ? nullptr : it->second.lock();
    if (!block || bytes.size() > block->bytes.size()) return false;
    std::memcpy(block->bytes.data(), bytes.data(), bytes.size());
    return true;
}

}  // namespace wlk::platform::sim
