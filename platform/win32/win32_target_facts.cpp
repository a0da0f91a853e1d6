#include "platform/win32/win32_target_facts.h"

#include "platform/win32/windows_api.h"

// After <windows.h>, which it needs.
#include <tlhelp32.h>

#include "platform/win32/secret_window.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace wlk::platform::win32 {

namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

// Looked up at run time: systems without WOW64 have no such function.
IsWow64ProcessFunction IsWow64ProcessOrNull() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return nullptr;
    return reinterpret_cast<IsWow64ProcessFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
}

bool RunsUnderWow64(HANDLE process) {
    IsWow64ProcessFunction isWow64 = IsWow64ProcessOrNull();
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(process, &wow64) && wow64;
}

}  // namespace

WindowId Win32TargetFacts::ForegroundWindow() {
    return reinterpret_cast<WindowId>(GetForegroundWindow());
}

WindowOwner Win32TargetFacts::OwnerOf(WindowId window) {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId);
    return {processId, threadId};
}

Text Win32TargetFacts::ProcessFileName(uint32_t processId) {
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return Text();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == processId) return FromWide(entry.szExeFile);
    }
    return Text();
}

Text Win32TargetFacts::ProcessImagePath(uint32_t processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return Text();
    wchar_t path[MAX_PATH * 4];
    DWORD length = MAX_PATH * 4;
    if (!QueryFullProcessImageNameW(process.Get(), 0, path, &length)) return Text();
    return FromWide(path, length);
}

std::optional<uint32_t> Win32TargetFacts::BinaryType(const Text& path) {
    DWORD type = 0;
    if (!GetBinaryTypeW(AsWide(path), &type)) return std::nullopt;
    return type;
}

uint32_t Win32TargetFacts::KeyboardLayout(uint32_t threadId) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetKeyboardLayout(threadId)));
}

bool Win32TargetFacts::ProgramRunsUnderWow64() {
    return RunsUnderWow64(GetCurrentProcess());
}

bool Win32TargetFacts::ProcessRunsUnderWow64(uint32_t processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process && RunsUnderWow64(process.Get());
}

bool Win32TargetFacts::CanOpenForQuery(uint32_t processId) {
    return bool(UniqueHandle(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId)));
}

bool Win32TargetFacts::HoldsSecret(WindowId window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    // A simulated copy copies from the focus window, not from its top-level window.
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &gui) && gui.hwndFocus &&
        win32::HoldsSecret(gui.hwndFocus))
        return true;
    return win32::HoldsSecret(hwnd);
}

}  // namespace wlk::platform::win32
