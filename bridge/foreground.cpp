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

CAutoForegroundWindow::CAutoForegroundWindow(platform::WindowId window)
    : previous_(platform::Current().targets.ForegroundWindow()), window_(window) {
    LogWindows();
    auto& p = platform::Current();
    if (previous_ == 0 || !p.ui.IsWindow(previous_) ||
        p.targets.OwnerOf(previous_).processId == p.keyboard.ProcessId()) {
        done_ = true;
        return;
    }
    ForegroundWithin(window_);
}

void CAutoForegroundWindow::End() {
    if (done_) return;
    LogWindows();
    ForegroundWithin(previous_);
    done_ = true;
}

void CAutoForegroundWindow::LogWindows() {
    auto& log = log::EventLog::Instance();
    log.DescribeWindow(window_, kTag);
    log.DescribeWindow(previous_, kTag);
}

// The foreground belongs to the previous window's thread; attached to it,
// this thread may hand it on.
void CAutoForegroundWindow::ForegroundWithin(platform::WindowId window) {
    auto& p = platform::Current();
    const uint32_t self = p.ui.CurrentThreadId();
    const uint32_t owner = p.targets.OwnerOf(previous_).threadId;
    const bool attached = p.ui.AttachThreadInput(self, owner, true);
    p.ui.SetForegroundWindow(window);
    if (attached) p.ui.AttachThreadInput(self, owner, false);
}

}  // namespace wlk::bridge
