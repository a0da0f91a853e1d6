// Wordlark.dll: the exports through which the program installs the hook into
// every GUI thread and asks which window the user works in.
#include <windows.h>

#include <cwchar>

#include "hook/foreground_tracking.h"
#include "hook/install_params.h"
#include "hook/query_request.h"
#include "hook/shared_state.h"

namespace wlk::hook {

namespace {

// Valid in every process the library is in.
HMODULE g_module = nullptr;
// Only in the process that installed the hook.
HHOOK g_hook = nullptr;

// Copies a name that the block points to; false for none, an empty or an overlong one.
bool CopyName(uint64_t address, wchar_t (&to)[kNameChars]) {
    const auto* name = reinterpret_cast<const wchar_t*>(static_cast<uintptr_t>(address));
    if (!name) return false;
    const size_t length = wcsnlen(name, kNameChars);
    if (length == 0 || length == kNameChars) return false;
    wmemcpy(to, name, length + 1);
    return true;
}

// The other processes read the names only while `active` is set, so they
// are written first and `active` last.
bool Publish(const InstallParams& params) {
    SharedState fresh{};
    if (!CopyName(params.queryEventName, fresh.queryEventName) ||
        !CopyName(params.answerEventName, fresh.answerEventName) ||
        !CopyName(params.areaName, fresh.areaName))
        return false;
    SharedState& shared = Shared();
    InterlockedExchange(&shared.active, 0);
    fresh.installerProcess = GetCurrentProcessId();
    fresh.trayWindow = params.trayWindow;
    fresh.requestMessage = params.queryRequestMessage;
    fresh.answersExpected = params.answersExpected;
    shared = fresh;
    InterlockedExchange(&shared.active, 1);
    return true;
}

}  // namespace

}  // namespace wlk::hook

using namespace wlk::hook;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// A second call while installed takes the new block and keeps the one hook.
extern "C" int LK_Install(InstallParams* params) {
    if (!params) return 0;
    if (!Publish(*params)) {
        params->resultCode = kInstallInvalidNames;
        return 0;
    }
    if (!g_hook) g_hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, g_module, 0);
    if (!g_hook) {
        InterlockedExchange(&Shared().active, 0);
        params->resultCode = kInstallCantHook;
        return 0;
    }
    StartForegroundTracking();
    params->resultCode = kInstallSuccess;
    return 1;
}

// The libraries in other processes stay loaded until their threads next run
// a message; until then they do nothing, as `active` is cleared.
extern "C" int LK_Uninstall() {
    if (!g_hook) return 0;
    InterlockedExchange(&Shared().active, 0);
    StopForegroundTracking();
    const BOOL removed = UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    return removed ? 1 : 0;
}

// The foreground thread's focus window, else its active window, else the
// foreground window itself.
extern "C" HWND LK_GetTargetWindow() {
    const HWND foreground = GetForegroundWindow();
    if (!foreground) return nullptr;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &gui)) {
        if (gui.hwndFocus) return gui.hwndFocus;
        if (gui.hwndActive) return gui.hwndActive;
    }
    return foreground;
}

extern "C" HWND LK_GetTargetWindowOther() {
    return LastForeignForeground();
}
