#include "platform/win32/win32_ui.h"

#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

HWND ToWindow(WindowId window) {
    return reinterpret_cast<HWND>(window);
}

// ShellExecuteW takes null, not "", for "the default verb" and "no parameters".
const wchar_t* OrNull(const Text& text) {
    return text.empty() ? nullptr : reinterpret_cast<const wchar_t*>(text.c_str());
}

// Taken at once, before any other call can change it.
thread_local DWORD shellLastError = 0;

UINT IconFlag(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return MB_ICONINFORMATION;
        case MessageIcon::Warning: return MB_ICONWARNING;
        case MessageIcon::Error: return MB_ICONERROR;
    }
    return 0;
}

}  // namespace

uint32_t Win32Ui::RegisterMessage(const Text& name) {
    return RegisterWindowMessageW(reinterpret_cast<const wchar_t*>(name.c_str()));
}

intptr_t Win32Ui::SendMessage(WindowId window, uint32_t message, uintptr_t wParam,
                              intptr_t lParam) {
    return SendMessageW(ToWindow(window), message, wParam, lParam);
}

std::optional<intptr_t> Win32Ui::SendMessageTimeout(WindowId window, uint32_t message,
                                                    uintptr_t wParam, intptr_t lParam,
                                                    uint32_t timeoutMs) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(ToWindow(window), message, wParam, lParam,
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, timeoutMs, &result))
        return std::nullopt;
    return intptr_t(result);
}

bool Win32Ui::PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return PostMessageW(ToWindow(window), message, wParam, lParam) != FALSE;
}

bool Win32Ui::BroadcastSystemMessage(uint32_t flags, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam) {
    using Broadcast = long(WINAPI*)(DWORD, LPDWORD, UINT, WPARAM, LPARAM);
    HMODULE user = GetModuleHandleW(L"user32.dll");
    auto broadcast = user ? reinterpret_cast<Broadcast>(reinterpret_cast<void*>(
                                GetProcAddress(user, "BroadcastSystemMessageW")))
                          : nullptr;
    if (!broadcast) return false;
    DWORD recipients = BSM_ALLCOMPONENTS;
    return broadcast(flags, &recipients, message, wParam, lParam) > 0;
}

bool Win32Ui::SetTimer(WindowId window, uintptr_t id, uint32_t periodMs) {
    return ::SetTimer(ToWindow(window), id, periodMs, nullptr) != 0;
}

void Win32Ui::KillTimer(WindowId window, uintptr_t id) {
    ::KillTimer(ToWindow(window), id);
}

void Win32Ui::MessageBox(MessageOwner owner, const Text& text, const Text& caption,
                         MessageIcon icon, bool topmost) {
    HWND parent = owner == MessageOwner::Desktop ? GetDesktopWindow() : nullptr;
    const UINT flags = MB_OK | IconFlag(icon) | (topmost ? MB_TOPMOST : 0);
    MessageBoxW(parent, reinterpret_cast<const wchar_t*>(text.c_str()),
                reinterpret_cast<const wchar_t*>(caption.c_str()), flags);
}

bool Win32Ui::IsWindow(WindowId window) {
    return ::IsWindow(ToWindow(window)) != FALSE;
}

Text Win32Ui::ClassName(WindowId window) {
    wchar_t name[256];  // class names are at most 256 characters with the terminator
    const int length = GetClassNameW(ToWindow(window), name, 256);
    return length > 0 ? FromWide(name, length) : Text();
}

intptr_t Win32Ui::ShellExecute(WindowId owner, const Text& verb, const Text& file,
                               const Text& parameters, const Text& directory) {
    HINSTANCE result =
        ShellExecuteW(ToWindow(owner), OrNull(verb), reinterpret_cast<const wchar_t*>(file.c_str()),
                      OrNull(parameters), OrNull(directory), SW_SHOW);
    shellLastError = GetLastError();
    return reinterpret_cast<intptr_t>(result);
}

uint32_t Win32Ui::ShellLastError() {
    return shellLastError;
}

void Win32Ui::MessageBoxOwned(WindowId owner, const Text& text, const Text& caption,
                              MessageIcon icon) {
    // A box owned by a window that has gone meanwhile would not show at all;
    // a box without an owner comes to the front by itself, to take the keys.
    HWND window = ToWindow(owner);
    if (window && !::IsWindow(window)) window = nullptr;
    const UINT flags = MB_OK | IconFlag(icon) | (window ? 0 : MB_SETFOREGROUND);
    MessageBoxW(window, reinterpret_cast<const wchar_t*>(text.c_str()),
                reinterpret_cast<const wchar_t*>(caption.c_str()), flags);
}

void Win32Ui::MessageBeep(uint32_t type) {
    ::MessageBeep(type);
}

uint32_t Win32Ui::CurrentThreadId() {
    return GetCurrentThreadId();
}

bool Win32Ui::AttachThreadInput(uint32_t from, uint32_t to, bool attach) {
    return ::AttachThreadInput(from, to, attach ? TRUE : FALSE) != FALSE;
}

void Win32Ui::SetFocus(WindowId window) {
    ::SetFocus(ToWindow(window));
}

bool Win32Ui::SetForegroundWindow(WindowId window) {
    return ::SetForegroundWindow(ToWindow(window)) != FALSE;
}

bool Win32Ui::PlaySound(const Text& path) {
    return PlaySoundW(reinterpret_cast<const wchar_t*>(path.c_str()), nullptr,
                      SND_FILENAME | SND_SYNC | SND_NODEFAULT) != FALSE;
}

}  // namespace wlk::platform::win32
