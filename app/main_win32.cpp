// The program's entry point.
#include <windows.h>

#include "app/startup.h"
#include "app/startup_host_win32.h"
#include "phrases/macro_sources_win32.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_threads.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    // Worker threads that have done their work may still be ending; the
    // process must not end under them.
    constexpr uint32_t kThreadsEndWaitMs = 3000;
    wlk::platform::win32::InstallWin32Platform();
    wlk::phrases::InstallMacroSources();
    wlk::app::Win32StartupHost host(instance);
    int code = wlk::app::RunStartup(reinterpret_cast<const char16_t*>(commandLine),
                                    wlk::settings::Settings::Instance(), host);
    wlk::platform::win32::WaitForStartedThreads(kThreadsEndWaitMs);
    return code;
}
