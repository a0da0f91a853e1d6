// Marking the program's own clipboard writes so that the history does not
// record them: a counter that is not 0 while the program writes, changed by
// a scope guard, by a timed block for writes whose notification comes later,
// and by two named events that other processes of the product signal.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::history {

// Posted to the handler window when a timed block ends.
inline constexpr uint32_t WM_DELAY_UNLOCK = 0x8002;
inline constexpr uint32_t kOwnCopyBlockMs = 3000;
inline constexpr char16_t kStartCopyEventName[] = u"Local\\Wordlark_StartCopy";
inline constexpr char16_t kEndCopyEventName[] = u"Local\\Wordlark_EndCopy";

// MyCopyCounter, read plainly; 0 at rest.
int32_t MyCopyCounter();
// Interlocked increment and decrement, each logging "PULSEMY_COPY=%d".
void BeginOwnCopy();
void EndOwnCopy();

// Whether the clipboard's content is the program's own: the counter is up, or
// the clipboard is still as the last scope's writes left it. The change
// notifications of those writes arrive after the scope has ended, since the
// thread that wrote is the one that handles them.
bool IsOwnCopy();
// Holds the counter up for its lifetime, around synchronous clipboard writes.
class OwnCopyScope {
public:
    OwnCopyScope() { BeginOwnCopy(); }
    ~OwnCopyScope() { EndOwnCopy(); }
    OwnCopyScope(const OwnCopyScope&) = delete;
    OwnCopyScope& operator=(const OwnCopyScope&) = delete;
};

// The live handler window, which ends a timed block. The handler sets it when
// it is created and clears it when destroyed.
void SetOwnCopyHandler(platform::WindowId window);
void ClearOwnCopyHandler();
platform::WindowId OwnCopyHandlerWindow();
// The program's stop event (the instance event, set when the program ends),
// which cuts a timed block short. The start-up sets it before the history runs.
void SetProcessStopEvent(std::shared_ptr<platform::Event> stopEvent);

// Raises the counter and starts a thread that, after kOwnCopyBlockMs, posts
// WM_DELAY_UNLOCK to the handler window live then, or lowers the counter
// itself when there is none; nothing when the program ends first. False, with
// the counter unchanged, when there is no handler or the thread cannot start.
bool BlockOwnCopyAsync();
// The handler's reaction to WM_DELAY_UNLOCK: lowers a raised counter.
void OnDelayUnlock();

// The named StartCopy and EndCopy events with one watcher thread each, which
// set the counter to 1 and to 0. The threads end when the stop event is set.
class CopyEventWatchers {
public:
    // Creates both events (auto-reset, for everyone in the session) and
    // starts the threads; false when an event or a thread could not be made.
    bool Start(std::shared_ptr<platform::Event> stopEvent);
    // Closes this side's handles to the events (the threads hold their own
    // until the stop event ends them).
    void Close();

private:
    std::shared_ptr<platform::Event> start_;
    std::shared_ptr<platform::Event> end_;
};

}  // namespace wlk::history
