#include "platform/sim/sim_sync.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "platform/text.h"

namespace wlk::platform::sim {

namespace {
// One lock and one condition for every simulated event keeps waits on several
// events simple; the simulation never has many waiters.
std::mutex g_stateMutex;
std::condition_variable g_changed;
thread_local uint32_t t_lastError = 0;
}  // namespace

struct SimSync::Object {
    Text name;
    bool manualReset = false;
    bool signalled = false;
    Security security = Security::Default;
    // A mutex: its owning thread and how often that thread acquired it.
    std::thread::id owner;
    int holds = 0;
    int waiting = 0;
};

namespace {

class SimEvent : public Event {
public:
    explicit SimEvent(std::shared_ptr<SimSync::Object> object) : object_(std::move(object)) {}
    bool Set() override {
        {
            std::lock_guard lock(g_stateMutex);
            object_->signalled = true;
        }
        g_changed.notify_all();
        return true;
    }
    bool Reset() override {
        std::lock_guard lock(g_stateMutex);
        object_->signalled = false;
        return true;
    }
    bool ProtectFromClose(bool) override { return true; }
    SimSync::Object& object() { return *object_; }

private:
    std::shared_ptr<SimSync::Object> object_;
};

class SimMutex : public Mutex {
public:
    explicit SimMutex(std::shared_ptr<SimSync::Object> object) : object_(std::move(object)) {}
    bool Acquire(uint32_t timeoutMs) override {
        auto self = std::this_thread::get_id();
        auto free = [&] { return object_->holds == 0 || object_->owner == self; };
        std::unique_lock lock(g_stateMutex);
        ++object_->waiting;
        bool owned = true;
        if (timeoutMs == kInfinite)
            g_changed.wait(lock, free);
        else
            owned = g_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), free);
        --object_->waiting;
        if (!owned) return false;
        object_->owner = self;
        ++object_->holds;
        return true;
    }
    bool Release() override {
        {
            std::lock_guard lock(g_stateMutex);
            if (object_->holds == 0 || object_->owner != std::this_thread::get_id()) return false;
            --object_->holds;
        }
        g_changed.notify_all();
        return true;
    }

private:
    std::shared_ptr<SimSync::Object> object_;
};

}  // namespace

std::shared_ptr<SimSync::Object> SimSync::Named(const Text& name, Security security) {
    std::lock_guard lock(mutex_);
    t_lastError = 0;
    if (!name.empty()) {
        if (auto existing = named_[name].lock()) {
            t_lastError = kErrorAlreadyExists;
            return existing;
        }
    }
    auto object = std::make_shared<Object>();
    object->security = security;
    object->name = name;
    if (!name.empty()) named_[name] = object;
    return object;
}

std::unique_ptr<Mutex> SimSync::CreateMutex(const Text& name, Security security) {
    if (failCreate) {
        t_lastError = kErrorAccessDenied;
        return nullptr;
    }
    return std::make_unique<SimMutex>(Named(name, security));
}

std::unique_ptr<Event> SimSync::CreateEvent(const Text& name, bool manualReset, bool initialState,
                                            Security security) {
    if (failCreate) {
        t_lastError = kErrorAccessDenied;
        return nullptr;
    }
    auto object = Named(name, security);
    if (t_lastError != kErrorAlreadyExists) {
        std::lock_guard lock(g_stateMutex);
        object->manualReset = manualReset;
        object->signalled = initialState;
    }
    return std::make_unique<SimEvent>(object);
}

std::unique_ptr<Event> SimSync::OpenEvent(const Text& name, EventAccess) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto object = it == named_.end() ? nullptr : it->second.lock();
    t_lastError = object ? 0 : kErrorFileNotFound;
    return object ? std::make_unique<SimEvent>(object) : nullptr;
}

void SimSync::FailNextWaits(int count, const Text& name) {
    std::lock_guard lock(mutex_);
    failingName_ = name;
    failNextWaits_ = count;
}

bool SimSync::Fails(std::span<Event* const> events) {
    if (failNextWaits_ == 0) return false;
    std::lock_guard lock(mutex_);
    const bool named = std::any_of(events.begin(), events.end(), [this](Event* event) {
        return static_cast<SimEvent*>(event)->object().name == failingName_;
    });
    if (!named || failNextWaits_ == 0) return false;
    --failNextWaits_;
    return true;
}

uint32_t SimSync::WaitAny(std::span<Event* const> events, uint32_t timeoutMs) {
    if (Fails(events)) {
        t_lastError = kErrorInvalidHandle;
        return kWaitFailed;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(g_stateMutex);
    if (passTimedWaits_ && timeoutMs != kInfinite) timedWaits_.push_back(timeoutMs);
    for (;;) {
        for (size_t i = 0; i < events.size(); ++i) {
            auto& object = static_cast<SimEvent*>(events[i])->object();
            if (object.signalled) {
                if (!object.manualReset) object.signalled = false;
                return kWaitObject0 + uint32_t(i);
            }
        }
        if (timeoutMs == kInfinite) {
            g_changed.wait(lock);
        } else if (timeoutMs == 0 || passTimedWaits_) {
            return kWaitTimeout;
        } else if (fakeClock_) {
            const uint64_t fakeDeadline = fakeNow_ + timeoutMs;
            ++clockWaiters_;
            g_changed.wait(lock);
            --clockWaiters_;
            if (fakeNow_ >= fakeDeadline) return kWaitTimeout;
            // Not yet due: the next round waits for what is left.
            timeoutMs = uint32_t(fakeDeadline - fakeNow_);
        } else if (g_changed.wait_until(lock, deadline) == std::cv_status::timeout &&
                   std::chrono::steady_clock::now() >= deadline) {
            return kWaitTimeout;
        }
    }
}

void SimSync::UseFakeClock(bool on) {
    std::lock_guard lock(g_stateMutex);
    fakeClock_ = on;
}

void SimSync::AdvanceClock(uint32_t ms) {
    {
        std::lock_guard lock(g_stateMutex);
        fakeNow_ += ms;
    }
    g_changed.notify_all();
}

int SimSync::ClockWaiters() {
    std::lock_guard lock(g_stateMutex);
    return clockWaiters_;
}

void SimSync::PassTimedWaits(bool on) {
    std::lock_guard lock(g_stateMutex);
    passTimedWaits_ = on;
}

std::vector<uint32_t> SimSync::TimedWaits() {
    std::lock_guard lock(g_stateMutex);
    return timedWaits_;
}

uint32_t SimSync::LastError() {
    return t_lastError;
}

bool SimSync::Exists(const Text& name) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    return it != named_.end() && !it->second.expired();
}

bool SimSync::IsSet(const Text& name) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto object = it == named_.end() ? nullptr : it->second.lock();
    std::lock_guard state(g_stateMutex);
    return object && object->signalled;
}

int SimSync::MutexWaiters(const Text& name) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto object = it == named_.end() ? nullptr : it->second.lock();
    std::lock_guard state(g_stateMutex);
    return object ? object->waiting : 0;
}

Security SimSync::SecurityOf(const Text& name) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto object = it == named_.end() ? nullptr : it->second.lock();
    return object ? object->security : Security::Default;
}

}  // namespace wlk::platform::sim
