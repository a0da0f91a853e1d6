// The clipboard history for the tray window: the queue and its store, which
// live for the whole run, and the watcher (the clipboard handler window),
// which comes and goes with "Keep", "Re-Keep" and the session's locks. A
// watcher removed for a while loses no item, whether or not the history is
// saved to disk.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "history/ch_queue.h"
#include "history/clipboard_handler.h"
#include "history/history_store.h"

namespace wlk::history {

// The window that watches the clipboard for a history.
class IClipboardWatcher {
public:
    virtual ~IClipboardWatcher() = default;
    virtual CWLKWndClipboardHandler& Handler() = 0;
};

// Makes a watcher filling `history`; null when its creation failed (the
// handler has logged why).
using WatcherFactory = std::function<std::unique_ptr<IClipboardWatcher>(HistoryParts history)>;

class ClipboardHistory {
public:
    explicit ClipboardHistory(WatcherFactory makeWatcher);
    // Ends the watcher, which writes what is unsaved.
    virtual ~ClipboardHistory();
    ClipboardHistory(const ClipboardHistory&) = delete;
    ClipboardHistory& operator=(const ClipboardHistory&) = delete;

    // The watcher runs while "ClipboardHistory" is on: true when it runs now
    // or is meant to be off.
    bool Ensure();
    // Makes the watcher when it is missing, whatever the setting; true when it runs.
    bool Create();
    // Ends the watcher; its items stay for the next one.
    void Remove();
    bool Exists() const { return watcher_ != nullptr; }
    // The live history, null while no watcher runs.
    CCHQueue* Queue();
    // The items, also while no watcher runs: they wait for the next one.
    CCHQueue& Items() { return queue_; }
    CWLKWndClipboardHandler* Handler();

    // WM_WTSSESSION_CHANGE by its direction: the user left (-1: the watcher
    // is removed) or came back (+1: a watcher removed that way returns).
    void OnSessionChange(int direction);
    // "Re-Keep": the watcher made anew, so that it registers with the system again.
    bool ReKeep();
    // "Keep" turned on or off.
    void SetKeep(bool on);
    // Writes the unsaved items on this thread (at exit and at logoff); the number written.
    int SaveNow();
    bool Clear();
    // Positions count from the newest (0); an undo entry keeps what went.
    bool Delete(const std::vector<int>& positions);
    bool Undo();
    // After items changed in place: written again a second later (while a
    // watcher runs; else with the next save).
    void TouchItems();
    // Puts the item at `newestIndex` (0: the newest) on the clipboard with all
    // its formats, as the program's own write, and brings it to the top as a
    // fresh copy of it would. False when there is no such item or the
    // clipboard took none of its formats.
    bool PutEntryOnClipboard(size_t newestIndex);

private:
    WatcherFactory makeWatcher_;
    CCHQueue queue_;
    HistoryStore store_;
    // Declared after the queue and the store, which its handler fills: it ends first.
    std::unique_ptr<IClipboardWatcher> watcher_;
    bool loaded_ = false;
    bool removedByLock_ = false;
};

}  // namespace wlk::history
