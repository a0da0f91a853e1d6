#include "platform/win32/win32_keyboard.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

constexpr DWORD kToggleHotkeyBytes = 20;

}  // namespace

uint16_t Win32Keyboard::KeyState(uint16_t virtualKey) {
    return static_cast<uint16_t>(GetKeyState(virtualKey));
}

void Win32Keyboard::KeybdEvent(const KeyInput& key) {
    keybd_event(static_cast<BYTE>(key.virtualKey), static_cast<BYTE>(key.scanCode), key.flags, 0);
}

std::vector<uint32_t> Win32Keyboard::InstalledLayouts() {
    const int count = GetKeyboardLayoutList(0, nullptr);
    if (count <= 0) return {};
    std::vector<HKL> handles(static_cast<size_t>(count));
    const int got = GetKeyboardLayoutList(count, handles.data());
    std::vector<uint32_t> layouts;
    for (int i = 0; i < got; ++i)
        layouts.push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handles[size_t(i)])));
    return layouts;
}

ToggleHotkey Win32Keyboard::LayoutToggleHotkey() {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Keyboard Layout\\Toggle", 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return {ToggleHotkey::State::Unreadable, Text()};
    UniqueKey key(raw);
    wchar_t chars[kToggleHotkeyBytes / sizeof(wchar_t) + 1] = {};
    DWORD type = 0;
    DWORD bytes = kToggleHotkeyBytes;
    const LSTATUS status = RegQueryValueExW(key.Get(), L"Hotkey", nullptr, &type,
                                            reinterpret_cast<BYTE*>(chars), &bytes);
    if (status == ERROR_FILE_NOT_FOUND) return {ToggleHotkey::State::Missing, Text()};
    if (status != ERROR_SUCCESS || type != REG_SZ) return {ToggleHotkey::State::Unreadable, Text()};
    size_t length = 0;
    while (length < bytes / sizeof(wchar_t) && chars[length] != L'\0') ++length;
    return {ToggleHotkey::State::Read, FromWide(chars, length)};
}

uint32_t Win32Keyboard::ThreadLocale() {
    return GetThreadLocale();
}

uint32_t Win32Keyboard::ProcessId() {
    return GetCurrentProcessId();
}

WindowId Win32Keyboard::DesktopWindow() {
    return reinterpret_cast<WindowId>(GetDesktopWindow());
}

}  // namespace wlk::platform::win32
