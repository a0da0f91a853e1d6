// Named shared memory areas: page-file backed file mappings.
#pragma once

#include "platform/shared_memory.h"

namespace wlk::platform::win32 {

class Win32SharedMemory final : public SharedMemory {
public:
    std::unique_ptr<SharedArea> Create(const Text& name, size_t size, Security security) override;
    std::unique_ptr<SharedArea> CreateNew(const Text& name, size_t size, Security security,
                                          bool& existed) override;
    std::unique_ptr<SharedArea> Open(const Text& name, size_t size) override;
};

}  // namespace wlk::platform::win32
