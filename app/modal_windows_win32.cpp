#include "app/modal_windows_win32.h"

#include "platform/win32/windows_api.h"

namespace wlk::app {

namespace {

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    wchar_t name[16] = {};
    if (GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0)
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

void CloseThreadMenusAndDialogs() {
    EndMenu();
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
}

}  // namespace wlk::app
