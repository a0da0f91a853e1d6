#include "platform/sim/sim_library.h"

#include "platform/text.h"

namespace wlk::platform::sim {

namespace {
constexpr uint32_t kErrorModNotFound = 126;
}

class SimLibrary final : public Library {
public:
    SimLibrary(SimLibraries& owner, Text path, SimLibraries::Exports exports)
        : owner_(owner), path_(std::move(path)), exports_(std::move(exports)) {}
    ~SimLibrary() override { owner_.Freed(path_); }

    ProcAddress Procedure(const char* name) override {
        auto it = exports_.find(name);
        return it == exports_.end() ? nullptr : it->second;
    }

private:
    SimLibraries& owner_;
    Text path_;
    SimLibraries::Exports exports_;
};

std::unique_ptr<Library> SimLibraries::Load(const Text& path) {
    std::lock_guard lock(mutex_);
    auto it = libraries_.find(ToLower(path));
    if (it == libraries_.end()) {
        lastError_ = kErrorModNotFound;
        return nullptr;
    }
    ++loads_[it->first];
    ++loaded_[it->first];
    return std::make_unique<SimLibrary>(*this, it->first, it->second);
}

uint32_t SimLibraries::LastError() {
    std::lock_guard lock(mutex_);
    return lastError_;
}

void SimLibraries::Register(const Text& path, Exports exports) {
    std::lock_guard lock(mutex_);
    libraries_[ToLower(path)] = std::move(exports);
}

int SimLibraries::Loads(const Text& path) {
    std::lock_guard lock(mutex_);
    return loads_[ToLower(path)];
}

int SimLibraries::Loaded(const Text& path) {
    std::lock_guard lock(mutex_);
    return loaded_[ToLower(path)];
}

void SimLibraries::Freed(const Text& path) {
    std::lock_guard lock(mutex_);
    --loaded_[path];
}

}  // namespace wlk::platform::sim
