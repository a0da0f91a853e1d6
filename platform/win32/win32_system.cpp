#include "platform/win32/win32_system.h"

#include <cstring>
#include <vector>

#include "platform/text.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
// After <windows.h>.
#include <shlobj.h>

namespace wlk::platform::win32 {

namespace {

static_assert(sizeof(LOGFONTW) == sizeof(LogFontBytes));

// GetProcAddress gives a generic function pointer; going through void(*)()
// tells the compiler the cast to the real type is meant.
template <typename Function>
Function FindExport(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);  // ntdll is always loaded; no reference taken
    if (!handle) return nullptr;
    FARPROC proc = GetProcAddress(handle, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

// GetVersionEx lies to programs without a compatibility manifest; RtlGetVersion does not.
Text WindowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    auto getVersion = FindExport<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
    RTL_OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!getVersion || getVersion(&info) != 0) return T("Windows");
    Text text = T("Windows ") + ToText(info.dwMajorVersion) + u"." + ToText(info.dwMinorVersion) +
                T(" build ") + ToText(info.dwBuildNumber);
    if (info.szCSDVersion[0] != L'\0') text += u" " + FromWide(info.szCSDVersion);
    return text;
}

// Wine answers with the Windows version it imitates; say that it is Wine.
Text WineVersion() {
    using WineGetVersionFn = const char*(CDECL*)();
    auto getVersion = FindExport<WineGetVersionFn>(L"ntdll.dll", "wine_get_version");
    if (!getVersion) return Text();
    const char* version = getVersion();
    return version ? T(" (Wine ") + FromLatin1(version) + u")" : Text();
}

// Both calls return the length with the terminator, or 0 on failure.
Text FormattedDate(const SYSTEMTIME& st) {
    wchar_t buffer[128];
    const int length = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    return length > 0 ? FromWide(buffer, length - 1) : Text();
}

Text FormattedTime(const SYSTEMTIME& st) {
    wchar_t buffer[128];
    const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    return length > 0 ? FromWide(buffer, length - 1) : Text();
}

}  // namespace

Text Win32System::ProgramPath() {
    // The path may be longer than MAX_PATH; a full buffer means it was cut.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return Text();
        if (length < buffer.size()) return FromWide(buffer.data(), length);
        if (buffer.size() >= 32768) return Text();
        buffer.resize(buffer.size() * 2);
    }
}

Text FileVersion(const Text& path) {
    const auto* file = reinterpret_cast<const wchar_t*>(path.c_str());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return Text();
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file, 0, size, block.data())) return Text();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
        infoSize < sizeof(VS_FIXEDFILEINFO)) {
        return Text();
    }
    return ToText(HIWORD(info->dwFileVersionMS)) + u"." + ToText(LOWORD(info->dwFileVersionMS)) +
           u"." + ToText(HIWORD(info->dwFileVersionLS)) + u"." +
           ToText(LOWORD(info->dwFileVersionLS));
}

Text Win32System::ProgramVersion() {
    return FileVersion(ProgramPath());
}

Text Win32System::OsDescription() {
    return WindowsVersion() + WineVersion();
}

Text Win32System::SpecialFolderPath(SpecialFolder folder) {
    const int csidl = folder == SpecialFolder::AppData ? CSIDL_APPDATA : CSIDL_PROFILE;
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return Text();
    return FromWide(buffer);
}

std::optional<Text> Win32System::ExpandEnvironment(const Text& text, size_t maxChars) {
    if (maxChars == 0) return std::nullopt;
    std::vector<wchar_t> buffer(maxChars);
    // The result counts the terminator; more than the buffer means it did not fit.
    const DWORD needed = ExpandEnvironmentStringsW(reinterpret_cast<const wchar_t*>(text.c_str()),
                                                   buffer.data(), static_cast<DWORD>(maxChars));
    if (needed == 0 || needed > maxChars) return std::nullopt;
    return FromWide(buffer.data());
}

uint32_t Win32System::TickCount() {
    return GetTickCount();
}

uint32_t Win32System::ThreadLastError() {
    return GetLastError();
}

void Win32System::SetThreadLastError(uint32_t code) {
    SetLastError(code);
}

Text Win32System::TempFolder() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length > 0 && length <= MAX_PATH ? FromWide(path, length) : Text();
}

Text Win32System::TempFileName(const Text& folder, const Text& prefix, uint32_t unique) {
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(reinterpret_cast<const wchar_t*>(folder.c_str()),
                         reinterpret_cast<const wchar_t*>(prefix.c_str()), unique, name) == 0)
        return Text();
    return FromWide(name);
}

LocalTime Win32System::Now() {
    SYSTEMTIME st = {};
    GetLocalTime(&st);
    return LocalTime{st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                     st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

uint64_t Win32System::NowAsFileTime() {
    FILETIME ft = {};
    GetSystemTimeAsFileTime(&ft);
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

Text Win32System::FormatUserDateTime(const LocalTime& time) {
    const SYSTEMTIME st = ToSystemTime(time);
    return FormattedDate(st) + u" " + FormattedTime(st);
}

Text Win32System::SystemErrorText(uint32_t code, size_t maxChars) {
    if (maxChars == 0) return Text();
    std::vector<wchar_t> buffer(maxChars);
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length = FormatMessageW(flags, nullptr, code, 0, buffer.data(),
                                        static_cast<DWORD>(maxChars), nullptr);
    return FromWide(buffer.data(), length);
}

int Win32System::KeyboardLayoutCount() {
    return GetKeyboardLayoutList(0, nullptr);
}

LogFontBytes Win32System::MenuFont() {
    LogFontBytes bytes = {};
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        std::memcpy(bytes.data(), &metrics.lfMenuFont, sizeof(LOGFONTW));
    }
    return bytes;
}

uint16_t Win32System::AddGlobalAtom(const Text& name) {
    return GlobalAddAtomW(reinterpret_cast<const wchar_t*>(name.c_str()));
}

void Win32System::DeleteGlobalAtom(uint16_t atom) {
    GlobalDeleteAtom(atom);
}

SYSTEMTIME ToSystemTime(const LocalTime& time) {
    SYSTEMTIME st = {};
    st.wYear = time.year;
    st.wMonth = time.month;
    st.wDayOfWeek = time.dayOfWeek;
    st.wDay = time.day;
    st.wHour = time.hour;
    st.wMinute = time.minute;
    st.wSecond = time.second;
    st.wMilliseconds = time.milliseconds;
    return st;
}

}  // namespace wlk::platform::win32
