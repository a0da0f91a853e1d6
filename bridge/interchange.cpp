#include "bridge/interchange.h"

#include "platform/platform.h"

namespace wlk::bridge {

bool CreateInterchange(Interchange& interchange) {
    auto& p = platform::Current();
    // Other processes of the product write queries into the area.
    interchange.area =
        p.shared.Create(kInterchangeAreaName, kInterchangeAreaSize, platform::Security::Everyone);
    if (interchange.area) {
        interchange.queryEvent =
            p.sync.CreateEvent(kQueryEventName, true, false, platform::Security::Default);
    }
    if (interchange.queryEvent) {
        interchange.answerEvent =
            p.sync.CreateEvent(kAnswerEventName, true, false, platform::Security::Default);
    }
    if (interchange.answerEvent) return true;
    CloseInterchange(interchange);
    return false;
}

void CloseInterchange(Interchange& interchange) {
    interchange.answerEvent.reset();
    interchange.queryEvent.reset();
    interchange.area.reset();
}

}  // namespace wlk::bridge
