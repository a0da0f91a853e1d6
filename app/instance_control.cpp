#include "app/instance_control.h"

#include "platform/platform.h"

namespace wlk::app {

uint32_t InstanceMessage() {
    static const uint32_t message =
        platform::Current().ui.RegisterMessage(u"WLK_7B11E8E0-A712-4caa-A06B-01BEA4F7DFC4");
    return message;
}

bool SignalNamedEvent(const Text& name) {
    auto event = platform::Current().sync.OpenEvent(name, platform::EventAccess::ModifyState);
    return event && event->Set();
}

bool PulseNamedEvent(const Text& name) {
    auto event = platform::Current().sync.OpenEvent(name, platform::EventAccess::ModifyState);
    if (!event) return false;
    event->Set();
    event->Reset();
    return true;
}

bool InstanceExists() {
    return platform::Current().sync.OpenEvent(kInstanceEventName,
                                              platform::EventAccess::Synchronize) != nullptr;
}

}  // namespace wlk::app
