// The clipboard history with its watcher as a real window: the clipboard
// handler window (control id 1333), a child of the tray window.
#pragma once

#include "history/clipboard_history.h"
#include "platform/win32/windows_api.h"

namespace wlk::history {

class CWLKClipboardHistory : public ClipboardHistory {
public:
    CWLKClipboardHistory();
    // The tray window, parent of the handler window; set before the first
    // watcher is made.
    void SetParent(HWND parent) { parent_ = parent; }

private:
    HWND parent_ = nullptr;
};

}  // namespace wlk::history
