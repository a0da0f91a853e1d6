#include "history/clipboard_history_win32.h"

#include "history/clipboard_windows_win32.h"

namespace wlk::history {

CWLKClipboardHistory::CWLKClipboardHistory()
    : ClipboardHistory([this](HistoryParts history) -> std::unique_ptr<IClipboardWatcher> {
          auto window = std::make_unique<CWLKClipboardHandlerWindow>();
          if (!window->Create(parent_, kClipboardHandlerId, history, true)) return nullptr;
          return window;
      }) {}

}  // namespace wlk::history
