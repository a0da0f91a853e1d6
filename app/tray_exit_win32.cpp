#include "app/tray_exit_win32.h"

#include "app/tray_commands.h"
#include "log/event_log.h"

namespace wlk::app {

namespace {

constexpr UINT kExitWaitMs = 250;
constexpr int kExitWaitTicks = 8;

}  // namespace

void CWLKTrayExit::Request(HWND window) {
    if (requested_) return loops_.CloseAll();
    requested_ = true;
    if (loops_.Busy()) {
        log::EventLog::Instance().Write(u"Exit: closing the open menus and dialogs first");
        loops_.CloseAll();
        SetTimer(window, kTimerExitWait, kExitWaitMs, nullptr);
    }
    loops_.WhenIdle([window] {
        if (IsWindow(window)) DestroyWindow(window);
    });
}

void CWLKTrayExit::OnTimer(HWND window) {
    if (!IsWindow(window) || !loops_.Busy()) return;
    if (++ticks_ < kExitWaitTicks) {
        loops_.CloseAll();
        SetTimer(window, kTimerExitWait, kExitWaitMs, nullptr);
        return;
    }
    log::EventLog::Instance().WriteError(u"Exit forced: a menu or dialog did not close");
    DestroyWindow(window);
}

}  // namespace wlk::app
