// The clipboard handler: owns the history queue and its store, observes the
// clipboard spy, records every outside copy, keeps the program's own copies
// out, and tells its parent (the tray window) that the history changed.
//
// The Windows side makes the invisible child window (control id 1333) and
// calls the handlers below from its procedure; notifications to the parent
// go through the sink, which it turns into WM_NOTIFY.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "history/ch_queue.h"
#include "history/clipboard_capture.h"
#include "history/clipboard_spy.h"
#include "history/history_store.h"
#include "history/own_copy.h"
#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::history {

inline constexpr uint32_t kClipboardHandlerId = 1333;
inline constexpr uint32_t WM_CH_SAVE_REQUEST = 0x8001;
// Notification codes to the parent.
inline constexpr uint32_t CHN_HISTORY_CHANGED = 0xB00;
inline constexpr uint32_t CHN_HISTORY_LOADED = 0xB01;
// Extra values of CHN_HISTORY_CHANGED.
inline constexpr uint32_t kChangedByCapture = 0;
inline constexpr uint32_t kChangedByEdit = 1;
inline constexpr uint32_t kChangedAtCreation = 2;
// Timer of the delayed save after item edits.
inline constexpr uintptr_t kTouchTimerId = 2343;
inline constexpr uint32_t kTouchDelayMs = 1000;
// Captures are told to the parent, and saved, once the burst they came in
// settles: no copy for kSettleDelayMs, or kSettleMostMs after its first.
inline constexpr uintptr_t kSettleTimerId = 2344;
inline constexpr uint32_t kSettleDelayMs = 10;
inline constexpr uint32_t kSettleMostMs = 500;
// lParam: a new CCHItem made by other code of the process; the handler owns it from then on.
inline constexpr char16_t kAddItemMessageName[] = u"{540F133E-3D6B-49e4-87A5-C19CA88FC341}";
// lParam: a saved copy of an item, still owned by the sender.
inline constexpr char16_t kCopySavedMessageName[] = u"{30462FA5-8E5D-4702-A0CD-6C06742AD9BC}";

// "ClipboardSpyMethod_v2_22".
enum ClipboardSpyMethodOption : int {
    CSMO_AUTO = -1,
    CSMO_SETCLIPBOARDVIEWER = 0,
    CSMO_ADDCLIPBOARDLISTENER = 1,
};
// The method in use, for the diagnostics report.
inline constexpr int kMonitorNone = 0;
inline constexpr int kMonitorListener = 2;
inline constexpr int kMonitorViewer = 3;

// Whether the spy should try the listener first, for a setting value;
// nothing for a value that names no method.
std::optional<bool> PreferListenerFor(int setting, bool listenerAvailable);

// (code, extra value) to the parent window.
using HandlerNotify = std::function<void(uint32_t code, uint32_t extra)>;

// The history a handler fills. It outlives the handler, so that removing the
// watcher for a while loses no item.
struct HistoryParts {
    CCHQueue& queue;
    HistoryStore& store;
    // Read the saved history at creation (when saving is on).
    bool load = true;
};

class CWLKWndClipboardHandler : public IClipboardObserver {
public:
    CWLKWndClipboardHandler(HistoryParts history, HandlerNotify notify, bool captureAtCreation);
    ~CWLKWndClipboardHandler() override;
    CWLKWndClipboardHandler(const CWLKWndClipboardHandler&) = delete;
    CWLKWndClipboardHandler& operator=(const CWLKWndClipboardHandler&) = delete;

    // WM_CREATE of the window `window` whose parent is `parent`: stop event,
    // copy events and their watchers, the spy, the history load, the capture
    // at creation. False fails the creation (WM_CREATE returns -1);
    // CreationError() then tells why.
    bool OnCreate(platform::WindowId window, platform::WindowId parent);
    // WM_DESTROY: ends the watchers, stops the spy, writes what is unsaved.
    void OnDestroy();

    // Reads the clipboard and adds an item; true when one was added. The
    // caller tells the parent and asks for the save.
    bool CaptureNow();
    void OnClipboardChanged(platform::WindowId owner) override;
    void OnSpyStateChanged() override;

    // WM_CH_SAVE_REQUEST: starts a background save.
    bool OnSaveRequest();
    // Timer 2343; false for timers this handler does not own.
    bool OnTimer(uintptr_t id);
    // Every private and registered message of the handler window; nothing
    // when `message` is none of them (default handling).
    std::optional<intptr_t> OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

    // After item edits and Undo: a save one second after the last change.
    void TouchItems();
    // Clear and Delete of the queue, with the notification (extra 1) and a
    // save request so that kept protected items are written again.
    bool Clear();
    bool Delete(const std::vector<int>& positions, bool makeUndo);
    // Brings the item at `position` (0: the newest) to the top as a fresh
    // copy of it would come, and tells the parent; false when there is none.
    bool MoveToNewest(size_t position);
    // Writes the unsaved items on this thread (at exit and at logoff); the
    // number written.
    int SaveNow();

    CCHQueue& Queue() { return queue_; }
    HistoryStore& Store() { return store_; }
    platform::WindowId Window() const { return window_; }
    // kMonitorListener, kMonitorViewer or kMonitorNone.
    int MonitorMethod() const { return monitorMethod_; }
    // GetLastError of a failed creation, and its text ("Clipboad History", "Error code: ").
    uint32_t LastError() const { return lastError_; }
    Text CreationErrorText() const;
    uint32_t AddItemMessage() const { return addItemMessage_; }
    uint32_t CopySavedMessage() const { return copySavedMessage_; }

private:
    bool StartSpy();
    bool FailCreation(uint32_t error);
    void Notify(uint32_t code, uint32_t extra);
    void RequestSave();
    void NotifyWhenSettled();
    void OnSettled();
    intptr_t OnAddItem(intptr_t lParam);
    intptr_t OnCopySaved(intptr_t lParam);

    HandlerNotify notify_;
    bool captureAtCreation_;
    bool load_;
    CCHQueue& queue_;
    HistoryStore& store_;
    const CaptureFormats formats_;
    platform::WindowId window_ = 0;
    platform::WindowId parent_ = 0;
    std::shared_ptr<platform::Event> stopEvent_;
    CopyEventWatchers copyEvents_;
    int monitorMethod_ = kMonitorNone;
    uint32_t lastError_ = 0;
    uint32_t touchTick_ = 0;
    bool savePending_ = false;  // a WM_CH_SAVE_REQUEST is on its way
    uint32_t capturedSequence_ = 0;  // the clipboard's sequence number at the last capture
    bool settlePending_ = false;     // captures wait for kSettleTimerId
    uint32_t burstStart_ = 0;        // the tick counts of the burst's first and last capture
    uint32_t burstLast_ = 0;
    uint32_t addItemMessage_ = 0;
    uint32_t copySavedMessage_ = 0;
    bool created_ = false;
};

}  // namespace wlk::history
