#include "history/clipboard_handler.h"

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace wlk::history {

namespace {

constexpr size_t kErrorTextChars = 512;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

}  // namespace

std::optional<bool> PreferListenerFor(int setting, bool listenerAvailable) {
    switch (setting) {
        case CSMO_AUTO: return listenerAvailable;
        case CSMO_SETCLIPBOARDVIEWER: return false;
        case CSMO_ADDCLIPBOARDLISTENER: return true;
        default: return std::nullopt;
    }
}

CWLKWndClipboardHandler::CWLKWndClipboardHandler(HistoryParts history, HandlerNotify notify,
                                                 bool captureAtCreation)
    : notify_(std::move(notify)),
      captureAtCreation_(captureAtCreation),
      load_(history.load),
      queue_(history.queue),
      store_(history.store),
      formats_(CaptureFormats::Register()) {
    auto& ui = platform::Current().ui;
    addItemMessage_ = ui.RegisterMessage(kAddItemMessageName);
    copySavedMessage_ = ui.RegisterMessage(kCopySavedMessageName);
}

CWLKWndClipboardHandler::~CWLKWndClipboardHandler() {
    OnDestroy();
}

bool CWLKWndClipboardHandler::OnCreate(platform::WindowId window, platform::WindowId parent) {
    auto& sync = platform::Current().sync;
    window_ = window;
    parent_ = parent;
    stopEvent_ = sync.CreateEvent(u"", true, false, platform::Security::Default);
    if (!stopEvent_) return FailCreation(sync.LastError());
    created_ = true;
    if (!copyEvents_.Start(stopEvent_))
        Log().WriteError(u"Cannot start the StartCopy/EndCopy watchers");
    SetOwnCopyHandler(window_);
    if (!StartSpy()) return FailCreation(platform::Current().clipboard.LastError());
    if (load_ && SaveHistoryEnabled()) store_.LoadHistory(queue_.Folder(), window_);
    if (captureAtCreation_ && CaptureNow()) {
        Notify(CHN_HISTORY_CHANGED, kChangedAtCreation);
        RequestSave();
    }
    return true;
}

bool CWLKWndClipboardHandler::StartSpy() {
    const int setting =
        settings::Settings::Instance().Get(settings::IntSetting::ClipboardSpyMethod);
    const auto preferListener =
        PreferListenerFor(setting, platform::Current().clipboard.HasFormatListener());
    if (!preferListener) {
        Log().WriteError(Format(u"ClipboardSpyMethod_v2_22=%d names no method", {ToText(setting)}));
        return false;
    }
    auto& spy = CClipboardSpy::Instance();
    spy.ClearObservers();
    spy.AddObserver(this);
    if (!spy.StartSpy(*preferListener, window_)) return false;
    monitorMethod_ = *preferListener ? kMonitorListener : kMonitorViewer;
    return true;
}

bool CWLKWndClipboardHandler::FailCreation(uint32_t error) {
    lastError_ = error;
    Log().WriteError(CreationErrorText());
    OnDestroy();
    return false;
}

void CWLKWndClipboardHandler::OnDestroy() {
    if (!created_) return;
    created_ = false;
    auto& spy = CClipboardSpy::Instance();
    spy.StopSpy();
    spy.ClearObservers();
    if (OwnCopyHandlerWindow() == window_) ClearOwnCopyHandler();
    stopEvent_->Set();
    stopEvent_.reset();
    copyEvents_.Close();
    platform::Current().ui.KillTimer(window_, kTouchTimerId);
    platform::Current().ui.KillTimer(window_, kSettleTimerId);
    settlePending_ = false;
    SaveNow();
}

Text CWLKWndClipboardHandler::CreationErrorText() const {
    return u"Clipboad History\nError code: " + ToText(lastError_) + u" " +
           TrimRight(platform::Current().system.SystemErrorText(lastError_, kErrorTextChars));
}

bool CWLKWndClipboardHandler::CaptureNow() {
    if (IsOwnCopy()) {
        Log().Write(u"My copy process detected");
        return false;
    }
    auto item = CaptureClipboard(window_, formats_, FormatSwitches::FromSettings());
    return item && queue_.Add(item, HistoryMaximum());
}

void CWLKWndClipboardHandler::OnClipboardChanged(platform::WindowId) {
    // Notifications queued behind a slow read find the clipboard as a read
    // already took it: reading it again would only cost the next copy time.
    const uint32_t sequence = platform::Current().clipboard.SequenceNumber();
    if (sequence == capturedSequence_) return;
    capturedSequence_ = sequence;
    if (CaptureNow()) NotifyWhenSettled();
}

void CWLKWndClipboardHandler::OnSpyStateChanged() {
    platform::Current().ui.MessageBox(platform::MessageOwner::None,
                                      u"CWLKWndClipboardHandler::_OnClipboardSpyStateChanged",
                                      u"Wordlark", platform::MessageIcon::Error, true);
}

bool CWLKWndClipboardHandler::OnSaveRequest() {
    savePending_ = false;
    return store_.SaveHistory(queue_, window_, SaveHistoryEnabled());
}

bool CWLKWndClipboardHandler::OnTimer(uintptr_t id) {
    if (id == kSettleTimerId) {
        // The timer repeats while copies keep coming: telling the tray and
        // saving in the middle of a burst would cost its next copies.
        const uint32_t now = platform::Current().system.TickCount();
        if (settlePending_ &&
            (now - burstLast_ >= kSettleDelayMs || now - burstStart_ >= kSettleMostMs))
            OnSettled();
        return true;
    }
    if (id != kTouchTimerId) return false;
    auto& p = platform::Current();
    if (p.system.TickCount() - touchTick_ > kTouchDelayMs) {
        p.ui.KillTimer(window_, kTouchTimerId);
        RequestSave();
    }
    return true;
}

std::optional<intptr_t> CWLKWndClipboardHandler::OnMessage(uint32_t message, uintptr_t,
                                                           intptr_t lParam) {
    if (message == WM_CH_SAVE_REQUEST) return OnSaveRequest();
    if (message == WM_DELAY_UNLOCK) {
        OnDelayUnlock();
        return 0;
    }
    if (message == store_.ItemSavedMessage()) return HistoryStore::OnItemSaved(queue_, lParam);
    if (message == store_.HistoryLoadedMessage()) {
        const bool merged = HistoryStore::OnHistoryLoaded(queue_, lParam, HistoryMaximum());
        Notify(CHN_HISTORY_LOADED, 0);
        return merged;
    }
    if (message == addItemMessage_) return OnAddItem(lParam);
    if (message == copySavedMessage_) return OnCopySaved(lParam);
    return std::nullopt;
}

intptr_t CWLKWndClipboardHandler::OnAddItem(intptr_t lParam) {
    // Ours from here on; a refused item is deleted with this pointer.
    std::unique_ptr<CCHItem> item(reinterpret_cast<CCHItem*>(lParam));
    return item && queue_.Add(item, HistoryMaximum());
}

intptr_t CWLKWndClipboardHandler::OnCopySaved(intptr_t lParam) {
    const auto* copy = reinterpret_cast<const CCHItem*>(lParam);
    if (!copy || copy->saved != SavedState::Written) return 0;
    const int index = queue_.FindIndexById(copy->id);
    if (index < 0) return 0;
    CCHItem* live = queue_.At(size_t(index));
    live->dataPath = copy->dataPath;
    live->saved = SavedState::Written;
    return 1;
}

void CWLKWndClipboardHandler::TouchItems() {
    auto& p = platform::Current();
    touchTick_ = p.system.TickCount();
    p.ui.SetTimer(window_, kTouchTimerId, kTouchDelayMs);
}

bool CWLKWndClipboardHandler::Clear() {
    if (!queue_.Clear()) return false;
    Notify(CHN_HISTORY_CHANGED, kChangedByEdit);
    RequestSave();
    return true;
}

bool CWLKWndClipboardHandler::Delete(const std::vector<int>& positions, bool makeUndo) {
    if (!queue_.Delete(positions, makeUndo)) return false;
    Notify(CHN_HISTORY_CHANGED, kChangedByEdit);
    RequestSave();
    return true;
}

bool CWLKWndClipboardHandler::MoveToNewest(size_t position) {
    if (!queue_.MoveToNewest(position)) return false;
    Notify(CHN_HISTORY_CHANGED, kChangedByEdit);
    RequestSave();
    return true;
}

int CWLKWndClipboardHandler::SaveNow() {
    return store_.SaveNow(queue_, SaveHistoryEnabled());
}

void CWLKWndClipboardHandler::Notify(uint32_t code, uint32_t extra) {
    if (notify_) notify_(code, extra);
}

// Another copy may follow within milliseconds, and what it replaces is lost
// unless it is read at once: the parent (the pane, the sound, the log) is told
// and the save asked for by a timer, which comes only when no posted message
// (no notification of a newer copy) is waiting.
void CWLKWndClipboardHandler::NotifyWhenSettled() {
    burstLast_ = platform::Current().system.TickCount();
    if (settlePending_) return;
    burstStart_ = burstLast_;
    settlePending_ = platform::Current().ui.SetTimer(window_, kSettleTimerId, kSettleDelayMs);
    if (!settlePending_) OnSettled();
}

void CWLKWndClipboardHandler::OnSettled() {
    platform::Current().ui.KillTimer(window_, kSettleTimerId);
    settlePending_ = false;
    Notify(CHN_HISTORY_CHANGED, kChangedByCapture);
    RequestSave();
}

void CWLKWndClipboardHandler::RequestSave() {
    // One request at a time: a burst of copies is saved in one pass once the
    // notifications are through, not a pass per copy between them.
    if (savePending_) return;
    savePending_ = true;
    if (!platform::Current().ui.PostMessage(window_, WM_CH_SAVE_REQUEST, 0, 0))
        savePending_ = false;
}

}  // namespace wlk::history
