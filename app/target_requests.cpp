#include "app/target_requests.h"

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::app {

namespace {

log::EventLog& Log() {
    return log::EventLog::Instance();
}

}  // namespace

bool TargetRequests::MayCall() const {
    if (!loops_.Busy()) return true;
    Log().Write(u"Phrase menu not called: a menu, prompt or message of the program is open");
    return false;
}

bridge::QueryResult TargetRequests::Request(uintptr_t trigger) {
    auto& p = platform::Current();
    requestTick_ = p.system.TickCount();
    bridge::TargetContext context;
    const bridge::QueryResult result = service_.SendMessageToTargetWindow(trigger, context);
    if (result == bridge::QueryResult::Requested) {
        pending_.Begin(service_.LastTarget(), queries_.QueriesRead());
        p.ui.SetTimer(trayWindow_, kTimerQueryFallback, kQueryFallbackMs);
    } else if (result == bridge::QueryResult::ContextReady) {
        bridge::QueryAnswer answer;
        HandOn(context, answer);
    }
    return result;
}

intptr_t TargetRequests::OnDataNeeded(const bridge::TargetContext& context,
                                      bridge::QueryAnswer& answer) {
    if (loops_.Busy()) {
        // Handled now, it would build a second menu inside the open one.
        Log().Write(u"Query dropped: a menu, prompt or message of the program is open");
        return 0;
    }
    platform::Current().ui.KillTimer(trayWindow_, kTimerQueryFallback);
    const bool late = pending_.IsServedDirectly();
    if (!pending_.TakeQuery()) {
        Log().Write(late ? u"Late query dropped: the target's facts were taken directly"
                         : u"Unasked query dropped: no press of the hotkey waits for it");
        return 0;
    }
    const bridge::TargetContext copy = context;
    bridge::QueryAnswer own;
    HandOn(copy, own);
    // Only a handler that answers at once fills an answer.
    if (handler_ && handler_->ProvidesAnswers()) answer = std::move(own);
    return 1;
}

void TargetRequests::OnFallbackTimer() {
    auto& p = platform::Current();
    p.ui.KillTimer(trayWindow_, kTimerQueryFallback);
    const auto target = pending_.TakeTimeout(queries_.QueriesRead());
    if (!target) return;
    Log().Write(
        Format(u"No query from the hook component within %d ms: target context filled directly",
               {ToText(kQueryFallbackMs)}));
    bridge::TargetContext context;
    service_.FillContextDirectly(*target, context);
    bridge::QueryAnswer answer;
    HandOn(context, answer);
}

void TargetRequests::HandOn(const bridge::TargetContext& context, bridge::QueryAnswer& answer) {
    const uint32_t elapsed = platform::Current().system.TickCount() - requestTick_;
    Log().Write(
        Format(u"Target context ready %d ms after the request: window %d [%s] of [%s], "
               u"selection state %d",
               {ToText(elapsed), ToText(int64_t(intptr_t(context.HWND))), context.WindowClassName,
                context.AppPath, ToText(context.StateSelText)}));
    if (!handler_) return;
    ModalLoops::Scope menu(loops_);
    handler_->OnDataNeeded(context, answer);
}

}  // namespace wlk::app
