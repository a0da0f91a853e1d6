#include "bridge/query_service.h"

#include "bridge/query_reader.h"
#include "log/event_log.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

// How long the tray window may take to take a query.
constexpr uint32_t kDataNeededTimeoutMs = 2000;

}  // namespace

bool QueryService::Open() {
    if (IsOpen()) return true;
    if (CreateInterchange(interchange_)) return true;
    log::EventLog::Instance().Write(u"ERROR: Cannot create wait objects");
    return false;
}

bool QueryService::StartWaiting(platform::WindowId trayWindow, SelectionReader readSelection) {
    readSelection_ = std::move(readSelection);
    params_ = WaitQueryParams{};
    params_.trayWindow = trayWindow;
    // Its own stop signal, so that turning the phrase menu off and on again
    // never leaves a second thread waiting.
    params_.stop = platform::Current().sync.CreateEvent(Text(), true, false,
                                                        platform::Security::Default);
    params_.queryEvent = interchange_.queryEvent;
    params_.answerEvent = interchange_.answerEvent;
    params_.areaName = kInterchangeAreaName;
    return params_.stop && Restart();
}

bool QueryService::Restart() {
    if (!IsOpen() || !params_.stop) return false;
    return StartWaitThread(params_, Steps());
}

void QueryService::Close() {
    if (params_.stop) params_.stop->Set();
    params_ = WaitQueryParams{};
    CloseInterchange(interchange_);
}

QueryHandlingSteps QueryService::Steps() const {
    QueryHandlingSteps steps;
    steps.readQuery = [areaName = params_.areaName, count = queriesRead_](TargetContext& context) {
        const bool read = ReadQuery(areaName, context);
        if (read) ++*count;
        return read;
    };
    steps.extractSelectedText = readSelection_;
    steps.sendDataNeeded = [window = params_.trayWindow, message = params_.dataNeededMessage](
                               TargetContext& context, QueryAnswer& answer) -> intptr_t {
        return platform::Current()
            .ui
            .SendMessageTimeout(window, message, reinterpret_cast<uintptr_t>(&context),
                                reinterpret_cast<intptr_t>(&answer), kDataNeededTimeoutMs)
            .value_or(0);
    };
    return steps;
}

}  // namespace wlk::bridge
