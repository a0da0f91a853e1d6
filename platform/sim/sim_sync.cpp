#include "platform/sim/sim_sync.h"

#include <chrono>
#include <condition_variable>

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
    bool manualReset = false;
    bool signalled = false;
    Security security = Security::Default;
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

}  // namespace

std::unique_ptr<Event> SimSync::CreateEvent(const Text& name, bool manualReset, bool initialState,
                                            Security security) {
    if (failCreate) {
        t_lastError = kErrorAccessDenied;
        return nullptr;
    }
    std::lock_guard lock(mutex_);
    t_lastError = 0;
    if (!name.empty()) {
        if (auto existing = named_[name].lock()) {
            t_lastError = kErrorAlreadyExists;
            return std::make_unique<SimEvent>(existing);
        }
    }
    auto object = std::make_shared<Object>();
    object->manualReset = manualReset;
    object->signalled = initialState;
    object->security = security;
    if (!name.empty()) named_[name] = object;
    return std::make_unique<SimEvent>(object);
}

std::unique_ptr<Event> SimSync::OpenEvent(const Text& name, EventAccess) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto object = it == named_.end() ? nullptr : it->second.lock();
    t_lastError = object ? 0 : kErrorFileNotFound;
    return object ? std::make_unique<SimEvent>(object) : nullptr;
}

uint32_t SimSync::WaitAny(std::span<Event* const> events, uint32_t timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(g_stateMutex);
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
        } else if (g_changed.wait_until(lock, deadline) == std::cv_status::timeout &&
                   std::chrono::steady_clock::now() >= deadline) {
            return kWaitTimeout;
        }
    }
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

Security SimSync::SecurityOf(const Text& name) {
    std::lock_guard lock(mutex_);
    auto it = named_.find(name);
    auto object = it == named_.end() ? nullptr : it->second.lock();
    return object ? object->security : Security::Default;
}

}  // namespace wlk::platform::sim
