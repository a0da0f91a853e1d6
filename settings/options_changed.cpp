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
                                                  platform::Security::Default);
    return event_ != nullptr;
}

void OptionsChangedEvent::Notify() {
    if (!event_) return;
    auto& p = platform::Current();
    p.threads.Start([&p, event = event_] {
        p.threads.Sleep(1);
        event->Set();
        event->Reset();
    });
}

}  // namespace wlk::settings
