#include "bridge/wait_query.h"

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

// How long the revival waits on the freshly reset query event.
constexpr uint32_t kReviveWaitMs = 1;

// After a failed wait the query event may be usable again once reset: it is
// when a short wait on it times out instead of failing.
bool Revive(platform::Event& queryEvent) {
    queryEvent.Reset();
    platform::Event* events[] = {&queryEvent};
    return platform::Current().sync.WaitAny(events, kReviveWaitMs) == platform::kWaitTimeout;
}

}  // namespace

uint32_t ThreadProc_WaitQuery(const WaitQueryParams& params, const QueryHandlingSteps& steps) {
    auto& sync = platform::Current().sync;
    auto& log = log::EventLog::Instance();
    platform::Event* events[] = {params.queryEvent.get(), params.stop.get()};
    bool firstFailure = true;
    uint32_t result = 0;
    uint32_t errorCode = 0;
    for (;;) {
        const uint32_t signalled = sync.WaitAny(events, platform::kInfinite);
        if (signalled == platform::kWaitObject0) {
            HandleOneQuery(steps, params.areaName, *params.queryEvent, *params.answerEvent);
            continue;
        }
        if (signalled == platform::kWaitObject0 + 1) break;
        errorCode = sync.LastError();
        log.WriteError(Format(
            u"Default on CWaitQuery::ThreadProc_WaitQuery error_code=%d, this is first time? =%d",
            {ToText(errorCode), ToText(firstFailure ? 1 : 0)}));
        if (firstFailure && Revive(*params.queryEvent)) {
            firstFailure = false;
            errorCode = 0;
            log.WriteError(u"WOW! I may reanimate event for query, continue ZAEBIS!");
            continue;
        }
        result = 1;
        break;
    }
    log.Write(Format(u"Exit from ThreadProc_WaitQuery [ret_value=%d, error_code=%d]",
                     {ToText(result), ToText(errorCode)}));
    if (result == 1 && params.errorMessage != 0)
        platform::Current().ui.PostMessage(params.trayWindow, params.errorMessage, 0, 0);
    return result;
}

bool StartWaitThread(const WaitQueryParams& params, const QueryHandlingSteps& steps) {
    const bool started = platform::Current().threads.Start(
        [params, steps] { ThreadProc_WaitQuery(params, steps); });
    if (!started) {
        log::EventLog::Instance().WriteError(
            u"Cannot start thread for waiting of query CWaitQuery::StartWaitThread");
    }
    return started;
}

}  // namespace wlk::bridge
