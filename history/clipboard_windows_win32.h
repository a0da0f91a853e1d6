// The two windows of clipboard monitoring: the hidden spy window that receives
// the system's change notifications, and the invisible clipboard handler
// window, a child of the tray window. Both only decode messages and call the
// portable CClipboardSpy and CWLKWndClipboardHandler.
#pragma once

#include <memory>

#include "history/clipboard_history.h"
#include "platform/win32/windows_api.h"

namespace wlk::history {

// Makes the spy window ("ClipboardSpyWndHidden") for CClipboardSpy; installed
// as its window host by the first handler window.
ISpyWindowHost& Win32SpyWindowHost();

// The handler window with its handler. The parent learns of history changes by
// WM_NOTIFY: a ClipboardNotify record whose idFrom is the control id.
class CWLKClipboardHandlerWindow : public IClipboardWatcher {
public:
    CWLKClipboardHandlerWindow() = default;
    // Destroying the window ends its handler, which writes what is unsaved.
    ~CWLKClipboardHandlerWindow() override;
    CWLKClipboardHandlerWindow(const CWLKClipboardHandlerWindow&) = delete;
    CWLKClipboardHandlerWindow& operator=(const CWLKClipboardHandlerWindow&) = delete;

    // False when the handler refused its creation (the spy did not install);
    // CreationErrorText() of Handler() then tells why.
    bool Create(HWND parent, UINT controlId, HistoryParts history, bool captureAtCreation);
    HWND Window() const { return hwnd_; }
    CWLKWndClipboardHandler& Handler() override { return *handler_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SendNotify(uint32_t code, uint32_t extra);
    void OnDestroy();

    std::unique_ptr<CWLKWndClipboardHandler> handler_;
    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
    UINT controlId_ = 0;
};

// The WM_NOTIFY record of the handler window.
struct ClipboardNotify {
    NMHDR header;
    uint32_t extra;  // of CHN_HISTORY_CHANGED; 0 otherwise
};

}  // namespace wlk::history
