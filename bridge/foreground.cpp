#include "bridge/foreground.h"

#include "log/event_log.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

constexpr char16_t kTag[] = u"CAutoForegroundWindow";

}  // namespace

bool FocusTargetWindow(platform::WindowId window) {
    auto& p = platform::Current();
    const uint32_t thread = p.targets.OwnerOf(window).threadId;
    if (thread == 0) return false;
    const uint32_t self = p.ui.CurrentThreadId();
    if (!p.ui.AttachThreadInput(self, thread, true)) return false;
    p.ui.SetFocus(window);
    p.ui.AttachThreadInput(self, thread, false);
    return true;
}

CAutoForegroundWindow::CAutoForegroundWindow(platform::WindowId window, bool stayAttached)
    : previous_(platform::Current().targets.ForegroundWindow()),
      window_(window),
      stayAttached_(stayAttached) {
    LogWindows();
    auto& p = platform::Current();
    if (previous_ == 0 || !p.ui.IsWindow(previous_) ||
        p.targets.OwnerOf(previous_).processId == p.keyboard.ProcessId()) {
        done_ = true;
        return;
    }
    // The foreground belongs to the previous window's thread; attached to
    // it, this thread may hand it on.
    attached_ = Attach(true);
    p.ui.SetForegroundWindow(window_);
    if (attached_ && !stayAttached_) attached_ = !Attach(false);
}

void CAutoForegroundWindow::End() {
    if (done_) return;
    LogWindows();
    if (!attached_) attached_ = Attach(true);
    platform::Current().ui.SetForegroundWindow(previous_);
    if (attached_) Attach(false);
    attached_ = false;
    done_ = true;
}

void CAutoForegroundWindow::LogWindows() {
    auto& log = log::EventLog::Instance();
    log.DescribeWindow(window_, kTag);
    log.DescribeWindow(previous_, kTag);
}

bool CAutoForegroundWindow::Attach(bool attach) {
    auto& p = platform::Current();
    return p.ui.AttachThreadInput(p.ui.CurrentThreadId(), p.targets.OwnerOf(previous_).threadId,
                                  attach);
}

}  // namespace wlk::bridge
