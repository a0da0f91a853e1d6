// Named shared memory areas (page-file backed file mappings).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"

namespace wlk::platform {

// An open mapping; destroying it closes the handle and the view.
class SharedArea {
public:
    virtual ~SharedArea() = default;
    // Copies `bytes` and a terminating zero to the start of the area; false when
    // they do not fit.
    virtual bool WriteText(const std::string& bytes) = 0;
    // The text up to its zero byte; nothing when the area holds no zero byte.
    virtual std::optional<std::string> ReadText() = 0;
};

class SharedMemory {
public:
    virtual ~SharedMemory() = default;
    // CreateFileMappingW(INVALID_HANDLE_VALUE, PAGE_READWRITE, size) + MapViewOfFile.
    virtual std::unique_ptr<SharedArea> Create(const Text& name, size_t size,
                                               Security security) = 0;
    // The same for a section that must not exist yet: null, with `existed`
    // set, when another holder has the name already (ERROR_ALREADY_EXISTS).
    virtual std::unique_ptr<SharedArea> CreateNew(const Text& name, size_t size,
                                                  Security security, bool& existed) = 0;
    // OpenFileMappingW + MapViewOfFile; null when there is none.
    virtual std::unique_ptr<SharedArea> Open(const Text& name, size_t size) = 0;
};

}  // namespace wlk::platform
