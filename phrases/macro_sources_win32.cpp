#include "phrases/macro_sources_win32.h"

#include <vector>

#include "bridge/dll_service.h"
#include "phrases/macro_values.h"
#include "phrases/windows_version.h"
#include "platform/platform.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "settings/program_location.h"

namespace wlk::phrases {

namespace {

using platform::win32::AsWide;
using platform::win32::FromWide;

// GetUserNameW gives at most this many characters.
constexpr DWORD kUserNameChars = 256;

Text UserName() {
    wchar_t name[kUserNameChars + 1] = {};
    DWORD size = kUserNameChars + 1;
    return GetUserNameW(name, &size) ? FromWide(name) : Text();
}

bool Is64BitSystem() {
    if constexpr (sizeof(void*) == 8) return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// GetVersionEx lies to programs without a compatibility manifest; RtlGetVersion does not.
Text WindowsVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!getVersion || getVersion(&info) != 0) return Text();
    return WindowsVersionText({info.dwPlatformId == VER_PLATFORM_WIN32_NT,
                               info.wProductType == VER_NT_WORKSTATION, info.dwMajorVersion,
                               info.dwMinorVersion, info.dwBuildNumber, Is64BitSystem(),
                               FromWide(info.szCSDVersion)});
}

// The "FileVersion" string of the first language the resource lists.
Text FileVersionString(const std::vector<BYTE>& block) {
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation)) {
        return Text();
    }
    wchar_t key[64];
    wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language,
              translation->codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&value), &size) || !value)
        return Text();
    return FromWide(value);
}

Text FileVersion(int which) {
    const Text folder = settings::ProgramFolder();
    switch (which) {
        case 0: return FileVersionText(platform::Current().system.ProgramPath());
        case 1: return FileVersionText(folder + settings::kPhraseEditorFile);
        case 2: return FileVersionText(folder + bridge::kHookLibraryName);
        default: return Text();
    }
}

}  // namespace

Text FileVersionText(const Text& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(AsWide(path), &ignored);
    if (size == 0) return Text();
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(AsWide(path), 0, size, block.data())) return Text();
    Text version;
    for (char16_t c : FileVersionString(block))
        if (c != u' ') version += c == u',' ? u'.' : c;
    return version;
}

void InstallMacroSources() {
    CurrentMacroSources() = {UserName, WindowsVersion, FileVersion};
}

}  // namespace wlk::phrases
