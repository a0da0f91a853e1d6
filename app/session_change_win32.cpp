#include "app/session_change_win32.h"

#include <wtsapi32.h>

#include "log/event_log.h"

namespace wlk::app {

void RegisterForSessionChanges(HWND window) {
    if (WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION))
        log::EventLog::Instance().Write(u"WTS_Notify successfully installed");
    else
        log::EventLog::Instance().WriteError(u"WTS_Notify NOT installed");
}

void UnregisterFromSessionChanges(HWND window) {
    if (WTSUnRegisterSessionNotification(window))
        log::EventLog::Instance().Write(u"WTS_Notify successfully uninstalled");
    else
        log::EventLog::Instance().WriteError(u"WTS_Notify cannot uninstall");
}

}  // namespace wlk::app
