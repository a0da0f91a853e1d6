#include "app/event_watcher.h"

#include "app/app_globals.h"
#include "platform/platform.h"

namespace wlk::app {

namespace {

// How often a request that came before the tray window looks for it again.
constexpr uint32_t kTrayWindowPollMs = 20;

// The tray window. A request can come between the start of the instance and
// the creation of its window (a quick "/exit"); it waits for the window rather
// than being lost. 0 when the instance ends first.
platform::WindowId AwaitTrayWindow(platform::Event& instanceEvent) {
    auto& sync = platform::Current().sync;
    platform::Event* events[] = {&instanceEvent};
    platform::WindowId tray = Globals().trayWindow.load();
    while (!tray && sync.WaitAny(events, kTrayWindowPollMs) == platform::kWaitTimeout)
        tray = Globals().trayWindow.load();
    return tray;
}

}  // namespace

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
            platform::WindowId tray = AwaitTrayWindow(*instanceEvent);
            if (!tray) break;
            if (w.post)
                p.ui.PostMessage(tray, w.message, w.wParam, w.lParam);
            else
                p.ui.SendMessage(tray, w.message, w.wParam, w.lParam);
        }
    });
}

}  // namespace wlk::app
