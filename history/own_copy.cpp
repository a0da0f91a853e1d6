#include "history/own_copy.h"

#include <atomic>
#include <mutex>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

std::atomic<int32_t> g_myCopyCounter{0};
// The clipboard's sequence number when the outermost scope began, and the one
// the program's own writes left when it ended (0: none yet).
std::atomic<uint32_t> g_sequenceAtBegin{0};
std::atomic<uint32_t> g_ownSequence{0};

// The live handler, read by whoever starts a timed block.
struct OwnCopyHandler {
    std::mutex mutex;
    platform::WindowId window = 0;
    std::shared_ptr<platform::Event> stopEvent;
};

OwnCopyHandler& Handler() {
    static OwnCopyHandler handler;
    return handler;
}

void LogCounter(int32_t value) {
    const Text line = Format(u"PULSEMY_COPY=%d", {ToText(value)});
    if (value < 0)
        log::EventLog::Instance().WriteError(line);
    else
        log::EventLog::Instance().Write(line);
}

// Waits on its own copy of the event until it is set, then sets the counter.
bool StartWatcher(std::shared_ptr<platform::Event> stopEvent,
                  std::shared_ptr<platform::Event> named, int32_t value) {
    auto& p = platform::Current();
    return p.threads.Start([&p, stopEvent, named, value] {
        platform::Event* events[] = {stopEvent.get(), named.get()};
        while (p.sync.WaitAny(events, platform::kInfinite) == platform::kWaitObject0 + 1)
            g_myCopyCounter.exchange(value);
    });
}

}  // namespace

int32_t MyCopyCounter() {
    return g_myCopyCounter.load();
}

void BeginOwnCopy() {
    const int32_t value = ++g_myCopyCounter;
    if (value == 1) g_sequenceAtBegin = platform::Current().clipboard.SequenceNumber();
    LogCounter(value);
}

void EndOwnCopy() {
    const int32_t value = --g_myCopyCounter;
    if (value == 0) {
        const uint32_t now = platform::Current().clipboard.SequenceNumber();
        if (now != g_sequenceAtBegin) g_ownSequence = now;
    }
    LogCounter(value);
}

bool IsOwnCopy() {
    if (g_myCopyCounter.load() != 0) return true;
    const uint32_t own = g_ownSequence.load();
    return own != 0 && platform::Current().clipboard.SequenceNumber() == own;
}

void SetOwnCopyHandler(platform::WindowId window, std::shared_ptr<platform::Event> stopEvent) {
    g_ownSequence = 0;  // a new handler has seen none of the earlier writes
    std::lock_guard lock(Handler().mutex);
    Handler().window = window;
    Handler().stopEvent = std::move(stopEvent);
}

void ClearOwnCopyHandler() {
    SetOwnCopyHandler(0, nullptr);
}

platform::WindowId OwnCopyHandlerWindow() {
    std::lock_guard lock(Handler().mutex);
    return Handler().window;
}

bool BlockOwnCopyAsync() {
    platform::WindowId window;
    std::shared_ptr<platform::Event> stopEvent;
    {
        std::lock_guard lock(Handler().mutex);
        window = Handler().window;
        stopEvent = Handler().stopEvent;
    }
    if (!window || !stopEvent) {
        log::EventLog::Instance().Write(
            u"AsynBlockClipboardHandler: no clipboard handler, nothing to block");
        return false;
    }
    auto& p = platform::Current();
    const bool started = p.threads.Start([&p, window, stopEvent] {
        const uint32_t begin = p.system.TickCount();
        platform::Event* events[] = {stopEvent.get()};
        if (p.sync.WaitAny(events, kOwnCopyBlockMs) != platform::kWaitTimeout) return;
        p.ui.PostMessage(window, WM_DELAY_UNLOCK, 0, 0);
        const uint32_t waited = p.system.TickCount() - begin;
        log::EventLog::Instance().Write(Format(
            u"__AsynBlockClipboardHandler_Proc wait complete: timeout=%d", {ToText(waited)}));
    });
    if (!started) {
        log::EventLog::Instance().WriteError(u"Cannot start AsynBlockClipboardHandler");
        return false;
    }
    // Raised after the start: the unlock is handled on this thread, so it
    // cannot come before.
    BeginOwnCopy();
    return true;
}

void OnDelayUnlock() {
    const bool wasMine = g_myCopyCounter.load() != 0;
    if (wasMine) --g_myCopyCounter;
    log::EventLog::Instance().Write(
        Format(u"WM_DELAY_UNLOCK received bIsMyCopy=%d", {ToText(wasMine ? 1 : 0)}));
}

bool CopyEventWatchers::Start(std::shared_ptr<platform::Event> stopEvent) {
    auto& sync = platform::Current().sync;
    start_ = sync.CreateEvent(kStartCopyEventName, false, false, platform::Security::Everyone);
    end_ = sync.CreateEvent(kEndCopyEventName, false, false, platform::Security::Everyone);
    if (!stopEvent || !start_ || !end_) return false;
    return StartWatcher(stopEvent, start_, 1) && StartWatcher(stopEvent, end_, 0);
}

void CopyEventWatchers::Close() {
    start_.reset();
    end_.reset();
}

}  // namespace wlk::history
