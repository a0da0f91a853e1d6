#include "app/event_watcher.h"

#include "app/app_globals.h"
#include "platform/platform.h"

namespace wlk::app {

bool StartEventWatcher(std::shared_ptr<platform::Event> instanceEvent, WatchedEvent watched) {
    if (!instanceEvent || !watched.event) return false;
    auto& p = platform::Current();
    // The thread's own copy: it closes the named event when it ends.
    std::shared_ptr<platform::Event> named = std::move(watched.event);
    watched.event = nullptr;
    return p.threads.Start([&p, instanceEvent, named, w = watched] {
        platform::Event* events[] = {instanceEvent.get(), named.get()};
        while (p.sync.WaitAny(events, platform::kInfinite) == platform::kWaitObject0 + 1) {
            if (w.reset) named->Reset();
            platform::WindowId tray = Globals().trayWindow.load();
            if (w.post)
                p.ui.PostMessage(tray, w.message, w.wParam, w.lParam);
            else
                p.ui.SendMessage(tray, w.message, w.wParam, w.lParam);
        }
    });
}

}  // namespace wlk::app
