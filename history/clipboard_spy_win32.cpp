// The spy window: a hidden child of the clipboard handler window whose
// procedure hands each clipboard message to CClipboardSpy.
#include "history/clipboard_spy.h"
#include "history/clipboard_windows_win32.h"

namespace wlk::history {

namespace {

const wchar_t* SpyClassName() {
    return reinterpret_cast<const wchar_t*>(kSpyWindowClass);
}

HWND ToWindow(platform::WindowId window) {
    return reinterpret_cast<HWND>(window);
}

LRESULT CALLBACK SpyWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    CClipboardSpy& spy = CClipboardSpy::Instance();
    switch (message) {
        case WM_CREATE: return spy.OnCreate(platform::WindowId(hwnd)) ? 0 : -1;
        case WM_DESTROY: spy.OnDestroy(); return 0;
        case WM_NCDESTROY:
            // A creation that failed after WM_CREATE sends no WM_DESTROY: the
            // registration made there must not outlive the window.
            if (spy.Window() == platform::WindowId(hwnd)) spy.OnDestroy();
            break;
        case WM_TIMER:
            if (spy.OnTimer(wParam)) return 0;
            break;
        case WM_DRAWCLIPBOARD: spy.OnDrawClipboard(); return 0;
        case WM_CHANGECBCHAIN:
            spy.OnChangeCbChain(platform::WindowId(wParam), platform::WindowId(lParam));
            return 0;
        case WM_CLIPBOARDUPDATE: spy.OnClipboardUpdate(); return 0;
        default:
            if (message == spy.SpyMessage()) {
                spy.OnSpyMessage(wParam);
                return 0;
            }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class SpyWindowHost final : public ISpyWindowHost {
public:
    platform::WindowId Create(platform::WindowId parent) override {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        RegisterOnce(instance);
        HWND window = CreateWindowExW(0, SpyClassName(), L"", WS_CHILD, -100, -100, 10, 10,
                                      ToWindow(parent), nullptr, instance, nullptr);
        return platform::WindowId(window);
    }
    void Destroy(platform::WindowId window) override {
        if (window) DestroyWindow(ToWindow(window));
    }

private:
    void RegisterOnce(HINSTANCE instance) {
        if (registered_) return;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = SpyWindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));      // IDI_APPLICATION
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = SpyClassName();
        registered_ = RegisterClassExW(&wc) != 0;
    }

    bool registered_ = false;
};

}  // namespace

ISpyWindowHost& Win32SpyWindowHost() {
    static SpyWindowHost host;
    return host;
}

}  // namespace wlk::history
