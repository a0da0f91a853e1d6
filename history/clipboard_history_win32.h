// The clipboard history with its watcher as a real window: the clipboard
// handler window (control id 1333), a child of the tray window.
#pragma once

#include "history/clipboard_history.h"
#include "history/clipboard_windows_win32.h"
#include "platform/win32/windows_api.h"

namespace wlk::history {

class CWLKClipboardHistory : public ClipboardHistory {
public:
    // Defined here, so that whatever builds the handler window builds this too.
    CWLKClipboardHistory()
        : ClipboardHistory([this](HistoryParts history) -> std::unique_ptr<IClipboardWatcher> {
              auto window = std::make_unique<CWLKClipboardHandlerWindow>();
              if (!window->Create(parent_, kClipboardHandlerId, history, true)) return nullptr;
              return window;
          }) {}
    // The tray window, parent of the handler window; set before the first
    // watcher is made.
    void SetParent(HWND parent) { parent_ = parent; }

private:
    HWND parent_ = nullptr;
};

}  // namespace wlk::history
