#include "platform/platform.h"

#include <atomic>
#include <cstdlib>

namespace wlk::platform {

namespace {
std::atomic<Platform*> g_platform{nullptr};
}

Platform& Current() {
    Platform* p = g_platform.load(std::memory_order_acquire);
    if (!p) std::abort();  // a programming error: nothing was installed
    return *p;
}

void Install(Platform* platform) {
    g_platform.store(platform, std::memory_order_release);
}

}  // namespace wlk::platform
