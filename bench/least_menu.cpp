// The least program that answers the phrase menu's hotkey (Ctrl+Alt+Enter)
// with a popup menu: it comes to the front and shows a dozen plain items at
// the cursor. The menu figures time it beside Wordlark as the baseline.
#include <windows.h>

namespace {

constexpr int kHotkeyId = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HOTKEY) return DefWindowProcW(window, message, wParam, lParam);
    HMENU menu = CreatePopupMenu();
    for (UINT id = 1; id <= 12; ++id) AppendMenuW(menu, MF_STRING, id, L"A phrase of the menu");
    POINT point{};
    GetCursorPos(&point);
    // The foreground belongs to the window worked in: attached to its thread,
    // this one may take it, the menu gets the keys, and it goes back after.
    const HWND previous = GetForegroundWindow();
    const DWORD front = GetWindowThreadProcessId(previous, nullptr);
    AttachThreadInput(GetCurrentThreadId(), front, TRUE);
    SetForegroundWindow(window);
    TrackPopupMenuEx(menu, TPM_RETURNCMD, point.x, point.y, window, nullptr);
    SetForegroundWindow(previous);
    AttachThreadInput(GetCurrentThreadId(), front, FALSE);
    DestroyMenu(menu);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"wlk_least_menu";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    if (!window || !RegisterHotKey(window, kHotkeyId, MOD_CONTROL | MOD_ALT, VK_RETURN)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
