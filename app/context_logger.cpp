#include "app/context_logger.h"

#include "log/event_log.h"
#include "platform/text.h"

namespace wlk::app {

void CWLKContextLogger::OnDataNeeded(const bridge::TargetContext& context, bridge::QueryAnswer&) {
    last_ = context;
    log::EventLog::Instance().Write(
        Format(u"Target context for window %d [%s] of [%s], selection state %d: no phrase menu "
               u"in this build",
               {ToText(int64_t(intptr_t(context.HWND))), context.WindowClassName, context.AppPath,
                ToText(context.StateSelText)}));
}

}  // namespace wlk::app
