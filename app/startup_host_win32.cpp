#include "app/startup_host_win32.h"

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include "app/app_globals.h"
#include "app/tray_window_win32.h"
#include "info/about_window_win32.h"
#include "language/active_language.h"
#include "log/event_log.h"
#include "platform/text.h"
#include "platform/win32/win32_menu.h"
#include "web/update_window_win32.h"

namespace wlk::app {

void Win32StartupHost::InitializeRuntime() {
    CoInitialize(nullptr);
    // Loads user32's window machinery before the first window is made.
    DefWindowProcW(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

void Win32StartupHost::InitializeModule() {
    mainThreadId_ = GetCurrentThreadId();
    // Menu texts for tooltips and balloons come from the program's own resources.
    static platform::win32::Win32Menus menus;
    language::SetMenuSource(&menus);
    OleInitialize(nullptr);
}

int Win32StartupHost::RunMain(platform::Event&, bool noinstall, const CommandLineOptions& options) {
    CWLKTrayWnd window(Globals().instanceEvent, noinstall, options, settings::Settings::Instance());
    if (!window.Create(instance_)) {
        log::EventLog::Instance().WriteError(u"Cannot create the main window, error " +
                                             ToText(GetLastError()));
        return 0;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab and Escape in the update and About windows, which run without a
        // loop of their own.
        if (HWND dialog = web::CWLKUpdateWindow::OpenWindow();
            dialog && IsDialogMessageW(dialog, &msg))
            continue;
        if (HWND dialog = info::CWLKAboutWindow::OpenWindow();
            dialog && IsDialogMessageW(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return int(msg.wParam);
}

void Win32StartupHost::TerminateRuntime() {
    OleUninitialize();
    CoUninitialize();
}

}  // namespace wlk::app
