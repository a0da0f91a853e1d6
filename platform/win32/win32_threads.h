// Worker threads with CreateThread.
#pragma once

#include "platform/threads.h"

namespace wlk::platform::win32 {

class Win32Threads final : public Threads {
public:
    bool Start(std::function<void()> body) override;
    void Sleep(uint32_t ms) override;
};

// Waits up to `maxMs` until every thread started by Win32Threads has ended,
// so that none is still ending while the process ends. True when all have.
bool WaitForStartedThreads(uint32_t maxMs);

}  // namespace wlk::platform::win32
