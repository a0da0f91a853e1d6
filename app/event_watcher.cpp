#include "app/event_watcher.h"

#include "app/app_globals.h"
#include "platform/event_hub.h"
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
    std::shared_ptr<platform::Event> named = std::move(watched.event);
    // The hub keeps both events open for as long as it may run the action.
    auto action = [&p, event = named.get(), instance = instanceEvent.get(), w = watched] {
        if (w.reset) event->Reset();
        const platform::WindowId tray = AwaitTrayWindow(*instance);
        if (!tray) return;
        if (w.post)
            p.ui.PostMessage(tray, w.message, w.wParam, w.lParam);
        else
            p.ui.SendMessage(tray, w.message, w.wParam, w.lParam);
    };
    return platform::EventHub::Instance().Watch(std::move(instanceEvent), std::move(named),
                                                std::move(action));
}

}  // namespace wlk::app
