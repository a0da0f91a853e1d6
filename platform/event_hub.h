// One thread that waits on every watched event at once (up to the 64 handles a
// wait takes) and runs each event's action when it is set. A watch ends when
// its stop event is set; the thread exists only while a watch does.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sync.h"

namespace wlk::platform {

class EventHub {
public:
    static EventHub& Instance();

    // Runs `action` on the hub's thread each time `event` is set, until `stop`
    // is set; the hub keeps both events open as long. False when either is
    // missing, the wait would take too many handles or no thread could start.
    bool Watch(std::shared_ptr<Event> stop, std::shared_ptr<Event> event,
               std::function<void()> action);

private:
    struct Watched {
        std::shared_ptr<Event> stop;
        std::shared_ptr<Event> event;
        std::function<void()> action;
    };
    // What one wait is on: the wake event, the stop events, then the watched
    // ones, so that a stop set at the same time as its event wins.
    struct WaitList {
        std::vector<Event*> events;
        size_t stops = 0;
    };

    void Run(std::shared_ptr<Event> wake);
    // False when no watch is left; the thread then ends.
    bool MakeWaitList(WaitList& list, Event* wake);
    // Each watch's stop event once, in the order of the watches.
    std::vector<Event*> Stops() const;

    std::mutex mutex_;
    std::vector<Watched> watches_;
    std::shared_ptr<Event> wake_;  // while the thread runs
};

}  // namespace wlk::platform
