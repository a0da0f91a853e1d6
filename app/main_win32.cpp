// The program's entry point.
#include <windows.h>

#include "app/startup.h"
#include "app/startup_host_win32.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    wlk::platform::win32::InstallWin32Platform();
    wlk::app::Win32StartupHost host(instance);
    return wlk::app::RunStartup(reinterpret_cast<const char16_t*>(commandLine),
                                wlk::settings::Settings::Instance(), host);
}
