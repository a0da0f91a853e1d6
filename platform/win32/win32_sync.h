// Named kernel events and waits with CreateEventW and WaitForMultipleObjects,
// named mutexes with CreateMutexW.
#pragma once

#include "platform/sync.h"

namespace wlk::platform::win32 {

class Win32Sync final : public Sync {
public:
    std::unique_ptr<Event> CreateEvent(const Text& name, bool manualReset, bool initialState,
                                       Security security) override;
    std::unique_ptr<Mutex> CreateMutex(const Text& name, Security security) override;
    std::unique_ptr<Event> OpenEvent(const Text& name, EventAccess access) override;
    uint32_t WaitAny(std::span<Event* const> events, uint32_t timeoutMs) override;
    uint32_t LastError() override;
};

}  // namespace wlk::platform::win32
