#include "bridge/interchange.h"

#include "log/event_log.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

// A hook component may hold the area of a moment ago for the few
// microseconds its write takes; a program that squats the name holds it for good.
constexpr int kCreateTries = 3;
constexpr uint32_t kRetryMs = 50;

std::unique_ptr<platform::SharedArea> CreateOwnArea() {
    auto& p = platform::Current();
    bool existed = false;
    for (int attempt = 1; attempt <= kCreateTries; ++attempt) {
        // Other processes of the product write queries into the area.
        auto area = p.shared.CreateNew(kInterchangeAreaName, kInterchangeAreaSize,
                                       platform::Security::Everyone, existed);
        if (!existed) return area;
        if (attempt < kCreateTries) p.threads.Sleep(kRetryMs);
    }
    log::EventLog::Instance().WriteError(
        u"Interchange area refused: another program created \"" + Text(kInterchangeAreaName) +
        u"\" first");
    return nullptr;
}

}  // namespace

bool CreateInterchange(Interchange& interchange) {
    auto& p = platform::Current();
    interchange.area = CreateOwnArea();
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
