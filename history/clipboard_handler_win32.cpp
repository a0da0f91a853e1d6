// The clipboard handler window: an invisible child of the tray window whose
// procedure hands its messages to CWLKWndClipboardHandler and whose
// notifications reach the parent as WM_NOTIFY.
#include "history/clipboard_windows_win32.h"

namespace wlk::history {

namespace {

constexpr wchar_t kHandlerClass[] = L"WordlarkClipboardHandler_5E0C2A17";

void RegisterHandlerClass(HINSTANCE instance, WNDPROC procedure) {
    static const bool registered = [&] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = instance;
        wc.lpszClassName = kHandlerClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

CWLKClipboardHandlerWindow::~CWLKClipboardHandlerWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool CWLKClipboardHandlerWindow::Create(HWND parent, UINT controlId, HistoryParts history,
                                        bool captureAtCreation) {
    parent_ = parent;
    controlId_ = controlId;
    handler_ = std::make_unique<CWLKWndClipboardHandler>(
        history, [this](uint32_t code, uint32_t extra) { SendNotify(code, extra); },
        captureAtCreation);
    CClipboardSpy::Instance().SetWindowHost(&Win32SpyWindowHost());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterHandlerClass(instance, WindowProc);
    // A failed WM_CREATE leaves hwnd_ null: WM_NCDESTROY clears it.
    CreateWindowExW(0, kHandlerClass, L"", WS_CHILD, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)), instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK CWLKClipboardHandlerWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                        LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CWLKClipboardHandlerWindow*>(
            reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self =
        reinterpret_cast<CWLKClipboardHandlerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CWLKClipboardHandlerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return handler_->OnCreate(platform::WindowId(hwnd_), platform::WindowId(parent_)) ? 0
                                                                                              : -1;
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_TIMER:
            if (handler_->OnTimer(wParam)) return 0;
            break;
        default:
            if (auto result = handler_->OnMessage(message, wParam, lParam)) return *result;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// A timed block that posted its end here before the handler went ends now:
// no later block posts here, as the handler is no longer the live one.
void CWLKClipboardHandlerWindow::OnDestroy() {
    handler_->OnDestroy();
    MSG unlock;
    while (PeekMessageW(&unlock, hwnd_, WM_DELAY_UNLOCK, WM_DELAY_UNLOCK, PM_REMOVE))
        OnDelayUnlock();
}

void CWLKClipboardHandlerWindow::SendNotify(uint32_t code, uint32_t extra) {
    if (!hwnd_ || !parent_) return;
    ClipboardNotify record{};
    record.header.hwndFrom = hwnd_;
    record.header.idFrom = controlId_;
    record.header.code = code;
    record.extra = extra;
    SendMessageW(parent_, WM_NOTIFY, controlId_, reinterpret_cast<LPARAM>(&record));
}

}  // namespace wlk::history
