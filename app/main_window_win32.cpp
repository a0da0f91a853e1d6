#include "app/main_window_win32.h"

#include "app/app_globals.h"
#include "app/instance_control.h"
#include "language/interface_strings.h"
#include "log/event_log.h"
#include "platform/platform.h"

namespace wlk::app {

namespace {
constexpr wchar_t kClassName[] = L"WordlarkMainWindow";
constexpr DWORD kExitDelayMs = 500;
}  // namespace

MainWindow::~MainWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool MainWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(128));
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, kClassName, L"Wordlark", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                            instance, this);
    if (!hwnd_) return false;
    Globals().trayWindow = reinterpret_cast<platform::WindowId>(hwnd_);
    return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<MainWindow*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == InstanceMessage()) {
        OnInstanceMessage(wParam);
        return 0;
    }
    switch (message) {
        case WM_COMMAND: OnCommand(wParam); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        default: return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void MainWindow::OnInstanceMessage(WPARAM wParam) {
    if (wParam == 1) {
        log::EventLog::Instance().Write(language::GetString(138));
        Sleep(kExitDelayMs);
        PostMessageW(hwnd_, WM_COMMAND, kExitCommand, 0);
    } else {
        log::EventLog::Instance().Write(language::GetString(137));
    }
}

void MainWindow::OnCommand(WPARAM wParam) {
    if (LOWORD(wParam) == kExitCommand) DestroyWindow(hwnd_);
}

void MainWindow::OnDestroy() {
    Globals().trayWindow = 0;
    hwnd_ = nullptr;
    PostQuitMessage(0);
}

}  // namespace wlk::app
