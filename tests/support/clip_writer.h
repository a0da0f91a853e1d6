// Runs wlk_clip_writer.exe, the other application that writes the clipboard in
// the Wine tests (tests/wine/clip_writer.cpp lists its modes).
#pragma once

#include <initializer_list>

#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace wlk::test {

inline Text ClipWriterProgram() {
    wchar_t own[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
    Text path = platform::win32::FromWide(own, length);
    return path.substr(0, path.rfind(u'\\') + 1) + u"wlk_clip_writer.exe";
}

// The started writer's process, empty when it could not start.
inline platform::win32::UniqueHandle StartClipWriter(std::initializer_list<Text> args) {
    Text command = u"\"" + ClipWriterProgram() + u"\"";
    for (const Text& arg : args) command += u" \"" + arg + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Its result line would only clutter the test output.
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &process))
        return platform::win32::UniqueHandle();
    CloseHandle(process.hThread);
    return platform::win32::UniqueHandle(process.hProcess);
}

// Runs the writer to its end, pumping this thread's messages meanwhile (a
// clipboard viewer of this thread gets sent messages); whether it succeeded.
inline bool WriteClipboard(std::initializer_list<Text> args, DWORD timeoutMs = 30000) {
    auto writer = StartClipWriter(args);
    if (!writer) return false;
    const DWORD start = GetTickCount();
    HANDLE handle = writer.Get();
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (GetTickCount() - start > timeoutMs) return false;
    }
    DWORD code = 1;
    GetExitCodeProcess(handle, &code);
    return code == 0;
}

}  // namespace wlk::test
