// Worker threads with CreateThread.
#pragma once

#include "platform/threads.h"

namespace wlk::platform::win32 {

class Win32Threads final : public Threads {
public:
    bool Start(std::function<void()> body) override;
    void Sleep(uint32_t ms) override;
};

}  // namespace wlk::platform::win32
