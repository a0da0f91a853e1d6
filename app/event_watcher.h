// Watchers of named events other processes set: each signal is passed on to
// the tray window as a message, from the one thread that waits on them all.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/sync.h"

namespace wlk::app {

struct WatchedEvent {
    std::shared_ptr<platform::Event> event;
    uint32_t message;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    // PostMessageW instead of SendMessageW.
    bool post = false;
    // Reset a manual-reset event before passing the signal on.
    bool reset = true;
};

// Watches until the instance event is set. A signal that comes before the
// tray window exists is passed on once the window does.
bool StartEventWatcher(std::shared_ptr<platform::Event> instanceEvent, WatchedEvent watched);

}  // namespace wlk::app
