// The few objects the whole process shares: the tray window's handle, the
// instance event, the raw command line and the admin hand-over event.
#pragma once

#include <atomic>
#include <memory>

#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::app {

struct AppGlobals {
    // Watcher threads send their messages here; set when the tray window is created.
    std::atomic<platform::WindowId> trayWindow{0};
    // Owned by the running instance; setting it ends every watcher thread.
    std::shared_ptr<platform::Event> instanceEvent;
    Text commandLine;
    // Created when this instance hands over to an elevated one.
    std::unique_ptr<platform::Event> adminHandOver;
};

AppGlobals& Globals();

}  // namespace wlk::app
