// Named events and mutexes in a process-wide table, with real blocking waits
// so that watcher threads behave as they do on Windows.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sync.h"

namespace wlk::platform::sim {

class SimSync : public Sync {
public:
    struct Object;

    std::unique_ptr<Event> CreateEvent(const Text& name, bool manualReset, bool initialState,
                                       Security security) override;
    std::unique_ptr<Mutex> CreateMutex(const Text& name, Security security) override;
    std::unique_ptr<Event> OpenEvent(const Text& name, EventAccess access) override;
    uint32_t WaitAny(std::span<Event* const> events, uint32_t timeoutMs) override;
    uint32_t LastError() override;

    // Test knobs and views.
    bool Exists(const Text& name);
    bool IsSet(const Text& name);
    // Threads waiting to acquire the named mutex.
    int MutexWaiters(const Text& name);
    // The security a named event or mutex was created with.
    Security SecurityOf(const Text& name);
    bool failCreate = false;
    // The next `count` waits on a set that holds the event named `name` fail
    // (kWaitFailed, last error ERROR_INVALID_HANDLE); other waits, such as the
    // log's on another thread, go on as usual.
    void FailNextWaits(int count, const Text& name);
    // Timed waits run on a fake clock that only AdvanceClock moves, so that a
    // test passes seconds of waiting at once. Off by default.
    void UseFakeClock(bool on);
    void AdvanceClock(uint32_t ms);
    // Threads now in a timed wait on the fake clock.
    int ClockWaiters();
    // Timed waits end at once as if their time had passed, so that a test
    // runs a worker's waits on its own thread. Off by default.
    void PassTimedWaits(bool on);
    // The time-outs of the waits passed at once, in order.
    std::vector<uint32_t> TimedWaits();

private:
    bool Fails(std::span<Event* const> events);

    std::atomic<int> failNextWaits_{0};
    Text failingName_;
    bool fakeClock_ = false;
    uint64_t fakeNow_ = 0;
    int clockWaiters_ = 0;
    bool passTimedWaits_ = false;
    std::vector<uint32_t> timedWaits_;

    // The object of that name, made with `security` when it does not exist yet.
    std::shared_ptr<Object> Named(const Text& name, Security security);

    std::mutex mutex_;
    std::map<Text, std::weak_ptr<Object>> named_;
};

}  // namespace wlk::platform::sim
