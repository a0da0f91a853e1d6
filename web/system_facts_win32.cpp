#include "web/system_facts_win32.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_api.h"

namespace wlk::web {

using platform::win32::FromWide;

namespace {

const Text kUnknown = u"unknown";

// GetVersionEx answers with the version in the manifest; RtlGetVersion tells the truth.
Text WindowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");  // always loaded
    auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
    RTL_OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!getVersion || getVersion(&info) != 0) return kUnknown;
    Text text = ToText(info.dwMajorVersion) + u"." + ToText(info.dwMinorVersion) + u"." +
                ToText(info.dwBuildNumber);
    if (info.szCSDVersion[0] != L'\0') text += u" " + FromWide(info.szCSDVersion);
    return text;
}

Text LanguageName(LANGID language) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    if (LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 0)
        return FromWide(name);
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    Text hex;
    for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(language >> shift) & 0xF];
    return hex;
}

// Several layouts of one language name it once.
Text KeyboardLanguages() {
    const int count = GetKeyboardLayoutList(0, nullptr);
    std::vector<HKL> layouts(count > 0 ? count : 0);
    layouts.resize(GetKeyboardLayoutList(count, layouts.data()));
    std::vector<Text> names;
    for (HKL layout : layouts) {
        Text name = LanguageName(LOWORD(reinterpret_cast<uintptr_t>(layout)));
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    Text joined;
    for (const Text& name : names) joined += (joined.empty() ? u"" : u",") + name;
    return joined.empty() ? kUnknown : joined;
}

Text Country() {
    const GEOID nation = GetUserGeoID(GEOCLASS_NATION);
    wchar_t code[8];
    if (nation == GEOID_NOT_AVAILABLE || GetGeoInfoW(nation, GEO_ISO2, code, 8, 0) <= 0)
        return kUnknown;
    return FromWide(code);
}

Text Domain() {
    wchar_t name[256];
    DWORD size = 256;
    if (!GetComputerNameExW(ComputerNameDnsDomain, name, &size) || size == 0) return u"none";
    return FromWide(name, size);
}

Text Memory() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return kUnknown;
    return ToText(static_cast<long long>(status.ullTotalPhys / (1024 * 1024))) + u"MB";
}

Text Screen() {
    return ToText(GetSystemMetrics(SM_CXSCREEN)) + u"x" + ToText(GetSystemMetrics(SM_CYSCREEN));
}

// The copy loaded in this process, else the one in the system folder.
Text MfcVersion() {
    wchar_t path[MAX_PATH];
    DWORD length = 0;
    if (HMODULE loaded = GetModuleHandleW(L"Mfc42.DLL"))
        length = GetModuleFileNameW(loaded, path, MAX_PATH);
    Text file = length > 0 && length < MAX_PATH ? FromWide(path, length) : Text();
    if (file.empty()) {
        length = GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return u"Not found";
        file = FromWide(path, length) + u"\\Mfc42.DLL";
    }
    const Text version = platform::win32::FileVersion(file);
    return version.empty() ? u"Not found" : version;
}

}  // namespace

SystemFacts ReadSystemFacts() {
    return {WindowsVersion(), KeyboardLanguages(), Country(), Domain(), Memory(),
            Screen(),         MfcVersion()};
}

}  // namespace wlk::web
