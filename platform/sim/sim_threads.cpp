#include "platform/sim/sim_threads.h"

#include <chrono>
#include <thread>

namespace wlk::platform::sim {

bool SimThreads::Start(std::function<void()> body) {
    if (failStart) return false;
    if (failNextStarts > 0) {
        --failNextStarts;
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        ++running_;
        ++started;
    }
    std::thread([this, body = std::move(body)]() mutable {
        body();
        body = nullptr;  // frees the parameter block before the thread counts as ended
        std::lock_guard lock(mutex_);
        if (--running_ == 0) idle_.notify_all();
    }).detach();
    return true;
}

void SimThreads::Sleep(uint32_t ms) {
    ++sleeps;
    lastSleepMs = ms;
    if (onSleep) onSleep(ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SimThreads::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return running_ == 0; });
}

}  // namespace wlk::platform::sim
