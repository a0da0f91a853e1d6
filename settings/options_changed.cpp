#include "settings/options_changed.h"

#include "platform/platform.h"

namespace wlk::settings {

OptionsChangedEvent& OptionsChangedEvent::Instance() {
    // Never destroyed: worker threads may still use it while the process ends.
    static OptionsChangedEvent& instance = *new OptionsChangedEvent;
    return instance;
}

bool OptionsChangedEvent::Create() {
    event_ = platform::Current().sync.CreateEvent(kOptionsChangedEventName, false, false,
                                                  platform::Security::Everyone);
    return event_ != nullptr;
}

void OptionsChangedEvent::Notify() {
    if (!event_) return;
    auto& p = platform::Current();
    // Set, not pulsed: the auto-reset event stays set until one waiter takes it,
    // so a program that is between two waits does not miss the change.
    p.threads.Start([&p, event = event_] {
        p.threads.Sleep(1);
        event->Set();
    });
}

}  // namespace wlk::settings
