// Real threads, counted so that a test can wait until all of them ended.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "platform/threads.h"

namespace wlk::platform::sim {

class SimThreads : public Threads {
public:
    ~SimThreads() override { WaitIdle(); }
    bool Start(std::function<void()> body) override;
    void Sleep(uint32_t ms) override;

    // Blocks until every started thread has ended.
    void WaitIdle();
    bool failStart = false;
    // The next starts that fail, counted down; later ones (a log line's
    // writer, say) start again.
    std::atomic<int> failNextStarts{0};
    int started = 0;
    // The Sleep calls so far.
    std::atomic<int> sleeps{0};
    std::atomic<uint32_t> lastSleepMs{0};
    // Called with each Sleep's duration before it sleeps, on the sleeper's thread.
    std::function<void(uint32_t)> onSleep;

private:
    std::mutex mutex_;
    std::condition_variable idle_;
    int running_ = 0;
};

}  // namespace wlk::platform::sim
