#include "bridge/query_handling.h"

#include "bridge/answer_writer.h"
#include "log/event_log.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

void CompleteSelection(const QueryHandlingSteps& steps, TargetContext& context) {
    if (context.StateSelText != kSelTextUnreadable || !context.SelText.empty()) return;
    Text extracted = steps.extractSelectedText(context.HWND);
    if (extracted.empty()) return;
    context.SelText = std::move(extracted);
    context.StateSelText = kSelTextExtracted;
}

}  // namespace

Text ReceivedQueryLine(const TargetContext& context) {
    return u"Received query:\r\n\tExe: " + context.AppPath + u"\r\n\tClassName: " +
           context.WindowClassName + u"\r\n\tHKL: " +
           ToText(static_cast<int32_t>(context.HKL)) + u"\r\n\tSelText: [" + context.SelText +
           u"]" + u"\r\n\tSelText State: [" + StateSelTextLogText(context.StateSelText) + u"]";
}

void HandleOneQuery(const QueryHandlingSteps& steps, const Text& areaName,
                    platform::Event& queryEvent, platform::Event& answerEvent) {
    auto& log = log::EventLog::Instance();
    TargetContext context;
    const bool read = steps.readQuery(context);
    // Only now: a query the hook component signals from here on is a new one.
    queryEvent.Reset();
    CompleteSelection(steps, context);
    if (!read) {
        log.Write(u"Cannot read query from MMF");
        answerEvent.Set();
        return;
    }
    log.Write(ReceivedQueryLine(context));

    QueryAnswer answer;
    if (steps.sendDataNeeded(context, answer) != kDataNeededHandled) return;
    answerEvent.Reset();
    if (WriteAnswer(answer, areaName))
        answerEvent.Set();
    else if (!answer.items.empty())
        log.Write(u"Cannot write answer to MMF\n");
}

}  // namespace wlk::bridge
