#include "platform/win32/win32_registry.h"

#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

UniqueKey OpenUserKey(const Text& key, REGSAM access) {
    HKEY raw = nullptr;
    const LSTATUS status = RegOpenKeyExW(
        HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(key.c_str()), 0, access, &raw);
    return status == ERROR_SUCCESS ? UniqueKey(raw) : UniqueKey();
}

// The stored data need not end with a terminator, and may hold several.
Text UpToTerminator(const std::vector<wchar_t>& chars) {
    size_t length = 0;
    while (length < chars.size() && chars[length] != L'\0') ++length;
    return FromWide(chars.data(), length);
}

}  // namespace

std::optional<Text> Win32Registry::ReadString(const Text& key, const Text& name, size_t maxBytes) {
    UniqueKey handle = OpenUserKey(key, KEY_QUERY_VALUE);
    if (!handle) return std::nullopt;
    std::vector<wchar_t> chars(maxBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(maxBytes);
    const LSTATUS status =
        RegQueryValueExW(handle.Get(), reinterpret_cast<const wchar_t*>(name.c_str()), nullptr,
                         &type, reinterpret_cast<BYTE*>(chars.data()), &bytes);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    chars.resize(bytes / sizeof(wchar_t));
    return UpToTerminator(chars);
}

bool Win32Registry::WriteString(const Text& key, const Text& name, const Text& value) {
    UniqueKey handle = OpenUserKey(key, KEY_ALL_ACCESS);
    if (!handle) return false;
    const DWORD bytes = static_cast<DWORD>(value.size() * sizeof(char16_t));
    return RegSetValueExW(handle.Get(), reinterpret_cast<const wchar_t*>(name.c_str()), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(const Text& key, const Text& name) {
    UniqueKey handle = OpenUserKey(key, KEY_ALL_ACCESS);
    if (!handle) return false;
    return RegDeleteValueW(handle.Get(), reinterpret_cast<const wchar_t*>(name.c_str())) ==
           ERROR_SUCCESS;
}

}  // namespace wlk::platform::win32
