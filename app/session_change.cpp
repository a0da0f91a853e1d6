#include "app/session_change.h"

#include "log/event_log.h"
#include "platform/text.h"

namespace wlk::app {

int SessionChangeDirection(uint32_t reason) {
    switch (reason) {
        case kWtsConsoleConnect:
        case kWtsSessionLogon:
        case kWtsSessionUnlock: return +1;
        case kWtsConsoleDisconnect:
        case kWtsSessionLogoff:
        case kWtsSessionLock: return -1;
        default: return 0;
    }
}

Text SessionChangeName(uint32_t reason) {
    static const char16_t* const kNames[] = {
        u"",
        u"WTS_CONSOLE_CONNECT",
        u"WTS_CONSOLE_DISCONNECT",
        u"WTS_REMOTE_CONNECT",
        u"WTS_REMOTE_DISCONNECT",
        u"WTS_SESSION_LOGON",
        u"WTS_SESSION_LOGOFF",
        u"WTS_SESSION_LOCK",
        u"WTS_SESSION_UNLOCK",
        u"WTS_SESSION_REMOTE_CONTROL",
    };
    if (reason >= 1 && reason < std::size(kNames)) return kNames[reason];
    return ToText(reason);
}

int LogSessionChange(uint32_t reason, int64_t sessionId) {
    auto& log = log::EventLog::Instance();
    log.Write(Format(u"OnWmWTSSessionChange reason=%s sessionId=%d",
                     {SessionChangeName(reason), ToText(sessionId)}));
    const int direction = SessionChangeDirection(reason);
    log.Write(Format(u"OnWmWTSSessionChange WTS_reason=%d", {ToText(direction)}));
    return direction;
}

}  // namespace wlk::app
