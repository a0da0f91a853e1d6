// Libraries that a test makes of its own functions: each registered path
// offers the given exports, so that a caller runs the same code through a
// function pointer as it does with a real library.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/library.h"

namespace wlk::platform::sim {

class SimLibraries : public Libraries {
public:
    using Exports = std::map<std::string, ProcAddress>;

    std::unique_ptr<Library> Load(const Text& path) override;
    uint32_t LastError() override;

    // Test knobs and views.
    void Register(const Text& path, Exports exports);
    // How often the path was loaded, and how many of those loads are not freed.
    int Loads(const Text& path);
    int Loaded(const Text& path);

private:
    friend class SimLibrary;
    void Freed(const Text& path);

    std::mutex mutex_;
    std::map<Text, Exports> libraries_;
    std::map<Text, int> loads_;
    std::map<Text, int> loaded_;
    uint32_t lastError_ = 0;
};

}  // namespace wlk::platform::sim
