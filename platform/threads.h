// Worker threads and sleeping.
#pragma once

#include <cstdint>
#include <functional>

namespace wlk::platform {

class Threads {
public:
    virtual ~Threads() = default;
    // Starts a thread running `body`. The body owns whatever it captured (the
    // thread's parameter block) and frees it when it ends. False when the
    // thread could not be started; the body is then destroyed unrun.
    virtual bool Start(std::function<void()> body) = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

}  // namespace wlk::platform
