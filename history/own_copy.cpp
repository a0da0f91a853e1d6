#include "history/own_copy.h"

#include <atomic>
#include <mutex>

#include "log/event_log.h"
#include "platform/event_hub.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

std::atomic<int32_t> g_myCopyCounter{0};
// The clipboard's sequence number when the outermost scope began, and the one
// the program's own writes left when it ended (0: none yet).
std::atomic<uint32_t> g_sequenceAtBegin{0};
std::atomic<uint32_t> g_ownSequence{0};

// The live handler and the program's stop event, read by the timed blocks.
struct OwnCopyHandler {
    std::mutex mutex;
    platform::WindowId window = 0;
    std::shared_ptr<platform::Event> processStop;
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

// Sets the counter each time the event is set, until the stop event is.
bool StartWatcher(std::shared_ptr<platform::Event> stopEvent,
                  std::shared_ptr<platform::Event> named, int32_t value) {
    return platform::EventHub::Instance().Watch(std::move(stopEvent), std::move(named),
                                                [value] { g_myCopyCounter.exchange(value); });
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

void SetOwnCopyHandler(platform::WindowId window) {
    g_ownSequence = 0;  // a new handler has seen none of the earlier writes
    std::lock_guard lock(Handler().mutex);
    Handler().window = window;
}

void ClearOwnCopyHandler() {
    SetOwnCopyHandler(0);
}

platform::WindowId OwnCopyHandlerWindow() {
    std::lock_guard lock(Handler().mutex);
    return Handler().window;
}

void SetProcessStopEvent(std::shared_ptr<platform::Event> stopEvent) {
    std::lock_guard lock(Handler().mutex);
    Handler().processStop = std::move(stopEvent);
}

namespace {

// The end of a timed block: the handler live now lowers the counter, so that
// the block ends also when a lock or "Re-Keep" replaced the one live at its
// start. Under the lock, no handler goes between the look and the post; the
// Windows side hands on what was posted to a handler that then goes.
void EndBlock() {
    auto& p = platform::Current();
    std::lock_guard lock(Handler().mutex);
    const platform::WindowId window = Handler().window;
    if (window && p.ui.PostMessage(window, WM_DELAY_UNLOCK, 0, 0)) return;
    log::EventLog::Instance().Write(
        u"AsynBlockClipboardHandler: no clipboard handler at the end of the block");
    if (g_myCopyCounter.load() != 0) LogCounter(--g_myCopyCounter);
}

}  // namespace

bool BlockOwnCopyAsync() {
    std::shared_ptr<platform::Event> processStop;
    {
        std::lock_guard lock(Handler().mutex);
        if (!Handler().window) {
            log::EventLog::Instance().Write(
                u"AsynBlockClipboardHandler: no clipboard handler, nothing to block");
            return false;
        }
        processStop = Handler().processStop;
    }
    auto& p = platform::Current();
    // Without a stop event from the start-up the block still lasts its time.
    if (!processStop)
        processStop = p.sync.CreateEvent(u"", true, false, platform::Security::Default);
    // Raised before the thread starts, so that its end always finds it raised.
    const int32_t value = ++g_myCopyCounter;
    const bool started = processStop && p.threads.Start([&p, processStop] {
        const uint32_t begin = p.system.TickCount();
        platform::Event* events[] = {processStop.get()};
        if (p.sync.WaitAny(events, kOwnCopyBlockMs) != platform::kWaitTimeout) return;
        const uint32_t waited = p.system.TickCount() - begin;
        log::EventLog::Instance().Write(Format(
            u"__AsynBlockClipboardHandler_Proc wait complete: timeout=%d", {ToText(waited)}));
        EndBlock();
    });
    if (!started) {
        --g_myCopyCounter;
        log::EventLog::Instance().WriteError(u"Cannot start AsynBlockClipboardHandler");
        return false;
    }
    LogCounter(value);
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
