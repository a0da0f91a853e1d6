#include "history/clipboard_history.h"

#include "history/item_to_clipboard.h"
#include "history/own_copy.h"
#include "log/event_log.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace wlk::history {

namespace {

log::EventLog& Log() {
    return log::EventLog::Instance();
}

}  // namespace

ClipboardHistory::ClipboardHistory(WatcherFactory makeWatcher)
    : makeWatcher_(std::move(makeWatcher)) {}

ClipboardHistory::~ClipboardHistory() {
    Remove();
}

bool ClipboardHistory::Ensure() {
    if (!settings::Settings::Instance().Get(settings::IntSetting::ClipboardHistory)) return true;
    return Create();
}

bool ClipboardHistory::Create() {
    if (watcher_) return true;
    // The saved history is read once a run: later watchers find it in the queue.
    watcher_ = makeWatcher_(HistoryParts{queue_, store_, !loaded_});
    if (watcher_) loaded_ = true;
    return watcher_ != nullptr;
}

void ClipboardHistory::Remove() {
    watcher_.reset();
}

CCHQueue* ClipboardHistory::Queue() {
    return watcher_ ? &queue_ : nullptr;
}

CWLKWndClipboardHandler* ClipboardHistory::Handler() {
    return watcher_ ? &watcher_->Handler() : nullptr;
}

void ClipboardHistory::OnSessionChange(int direction) {
    if (direction < 0 && watcher_) {
        removedByLock_ = true;
        Remove();
        Log().Write(Format(u"OnWmWTSSessionChange: Clipboard Spy is uninstalled=%d",
                           {ToText(watcher_ ? 0 : 1)}));
    } else if (direction > 0 && removedByLock_) {
        removedByLock_ = false;
        const bool created = Create();
        Log().Write(Format(u"OnWmWTSSessionChange: Clipboard Spy is installed=%d",
                           {ToText(created ? 1 : 0)}));
    }
}

bool ClipboardHistory::ReKeep() {
    Remove();
    return Ensure();
}

void ClipboardHistory::SetKeep(bool on) {
    // A watcher the user turned off stays off after an unlock.
    removedByLock_ = false;
    if (on)
        Create();
    else
        Remove();
}

int ClipboardHistory::SaveNow() {
    const int saved = store_.SaveNow(queue_, SaveHistoryEnabled());
    Log().Write(Format(u"History saved: %d items", {ToText(saved)}));
    return saved;
}

bool ClipboardHistory::Clear() {
    if (auto* handler = Handler()) return handler->Clear();
    return queue_.Clear();
}

bool ClipboardHistory::Delete(const std::vector<int>& positions) {
    if (auto* handler = Handler()) return handler->Delete(positions, true);
    return queue_.Delete(positions, true);
}

bool ClipboardHistory::Undo() {
    if (!queue_.Undo()) return false;
    TouchItems();
    return true;
}

void ClipboardHistory::TouchItems() {
    if (auto* handler = Handler()) handler->TouchItems();
}

bool ClipboardHistory::PutEntryOnClipboard(size_t newestIndex) {
    const CCHItem* item = queue_.Newest(newestIndex);
    if (!item) {
        Log().Write(Format(u"History entry %d is not in the history", {ToText(newestIndex)}));
        return false;
    }
    bool written;
    {
        OwnCopyScope ownCopy;
        written = PutItemOnClipboard(*item);
    }
    if (!written) {
        Log().WriteError(
            Format(u"Cannot put history entry %d on the clipboard", {ToText(newestIndex)}));
        return false;
    }
    if (auto* handler = Handler())
        handler->MoveToNewest(newestIndex);
    else
        queue_.MoveToNewest(newestIndex);
    return true;
}

}  // namespace wlk::history
