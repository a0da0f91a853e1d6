// Another application with an edit control, for the Wine tests of the hook
// component across processes. Plain user32, none of the program's code.
//   wlk_hook_target.exe READY_EVENT
// Shows a window titled "wlk hook target" with an edit control holding
// "target <текст>", the last seven characters selected and the focus on the
// edit, sets READY_EVENT, and runs its message loop until the window is
// closed (or for a minute at most). Exit code 0, or 2 for bad arguments.
#include <windows.h>

namespace {

constexpr DWORD kLongestRunMs = 60000;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    HWND host = CreateWindowExW(0, L"STATIC", L"wlk hook target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                60, 60, 400, 200, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, L"EDIT", L"target <\u0442\u0435\u043A\u0441\u0442>",
                                WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 30, host, nullptr,
                                nullptr, nullptr);
    if (!host || !edit) return 1;
    SetForegroundWindow(host);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 7, 14);

    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (ready) SetEvent(ready);
    const DWORD start = GetTickCount();
    while (IsWindow(host) && GetTickCount() - start < kLongestRunMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    if (ready) CloseHandle(ready);
    return 0;
}
