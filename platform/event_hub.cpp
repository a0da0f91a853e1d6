#include "platform/event_hub.h"

#include <algorithm>

#include "platform/platform.h"

namespace wlk::platform {

namespace {

// WaitForMultipleObjects takes at most this many handles.
constexpr size_t kMaxWaitHandles = 64;

}  // namespace

EventHub& EventHub::Instance() {
    // Never destroyed: its thread may still run while the process ends.
    static EventHub& hub = *new EventHub;
    return hub;
}

std::vector<Event*> EventHub::Stops() const {
    std::vector<Event*> stops;
    for (const Watched& watched : watches_)
        if (std::find(stops.begin(), stops.end(), watched.stop.get()) == stops.end())
            stops.push_back(watched.stop.get());
    return stops;
}

bool EventHub::Watch(std::shared_ptr<Event> stop, std::shared_ptr<Event> event,
                     std::function<void()> action) {
    if (!stop || !event) return false;
    std::lock_guard lock(mutex_);
    watches_.push_back({std::move(stop), std::move(event), std::move(action)});
    if (1 + Stops().size() + watches_.size() > kMaxWaitHandles) {
        watches_.pop_back();
        return false;
    }
    if (wake_) return wake_->Set();
    auto& p = Current();
    wake_ = p.sync.CreateEvent(u"", false, false, Security::Default);
    if (wake_ && p.threads.Start([this, wake = wake_] { Run(wake); })) return true;
    wake_.reset();
    watches_.pop_back();
    return false;
}

bool EventHub::MakeWaitList(WaitList& list, Event* wake) {
    std::lock_guard lock(mutex_);
    if (watches_.empty()) {
        wake_.reset();
        return false;
    }
    const std::vector<Event*> stops = Stops();
    list.events.assign(1, wake);
    list.events.insert(list.events.end(), stops.begin(), stops.end());
    list.stops = stops.size();
    for (const Watched& watched : watches_) list.events.push_back(watched.event.get());
    return true;
}

void EventHub::Run(std::shared_ptr<Event> wake) {
    auto& p = Current();
    WaitList list;
    while (MakeWaitList(list, wake.get())) {
        const uint32_t result = p.sync.WaitAny(list.events, kInfinite);
        const size_t index = result - kWaitObject0;
        if (result == kWaitFailed || index >= list.events.size()) {
            // The next watch starts the thread again.
            std::lock_guard lock(mutex_);
            wake_.reset();
            return;
        }
        if (index == 0) continue;  // a new watch
        std::vector<Watched> ended;
        Watched set;
        {
            std::lock_guard lock(mutex_);
            // Watches are only added at the end while this thread waits, so
            // the list's positions still hold.
            if (index <= list.stops) {
                Event* stop = list.events[index];
                const auto last = std::stable_partition(
                    watches_.begin(), watches_.end(),
                    [stop](const Watched& watched) { return watched.stop.get() != stop; });
                ended.assign(std::make_move_iterator(last),
                             std::make_move_iterator(watches_.end()));
                watches_.erase(last, watches_.end());
            } else {
                set = watches_[index - 1 - list.stops];
            }
        }
        // The ended watches close their events here, outside the lock.
        if (set.action) set.action();
    }
}

}  // namespace wlk::platform
