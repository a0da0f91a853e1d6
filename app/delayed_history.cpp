#include "app/delayed_history.h"

#include "app/tray_commands.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::app {

bool StartDelayedHistory(std::shared_ptr<platform::Event> stopEvent, platform::WindowId tray) {
    if (!stopEvent) return false;
    log::EventLog::Instance().Write(u"Start Delayed ClipboardHistory");
    auto& p = platform::Current();
    return p.threads.Start([&p, stopEvent, tray] {
        platform::Event* events[] = {stopEvent.get()};
        for (int attempt = 1; attempt <= kDelayedHistoryTries; ++attempt) {
            if (p.sync.WaitAny(events, kDelayedHistoryPeriodMs) != platform::kWaitTimeout) return;
            const intptr_t success = p.ui.SendMessage(tray, kMsgDelayedHistory, 0, 0);
            log::EventLog::Instance().Write(
                Format(u"Try to delyaed install clipboard spy: success %d, try#%d",
                       {ToText((long long)success), ToText(attempt)}));
            if (success) return;
        }
    });
}

}  // namespace wlk::app
