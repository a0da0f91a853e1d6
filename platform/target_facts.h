// What the program can learn about the application that owns a window: its
// process and thread, the executable, its bitness, whether it is within reach
// of a normal process, and the keyboard layout of its thread.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::platform {

// GetBinaryTypeW's type of a 64-bit Windows executable (SCS_64BIT_BINARY).
inline constexpr uint32_t kBinaryType64Bit = 6;

struct WindowOwner {
    uint32_t processId = 0;
    uint32_t threadId = 0;
};

class TargetFacts {
public:
    virtual ~TargetFacts() = default;
    // GetForegroundWindow; 0 when no window has the focus.
    virtual WindowId ForegroundWindow() = 0;
    // GetWindowThreadProcessId; zeros for a window that does not exist.
    virtual WindowOwner OwnerOf(WindowId window) = 0;
    // The executable's file name as a process snapshot lists it
    // (CreateToolhelp32Snapshot, Process32FirstW / Process32NextW); empty when
    // the snapshot fails or the process is not in it.
    virtual Text ProcessFileName(uint32_t processId) = 0;
    // QueryFullProcessImageNameW; empty when the process cannot be opened.
    virtual Text ProcessImagePath(uint32_t processId) = 0;
    // GetBinaryTypeW: the type of an executable file, nothing when it fails.
    virtual std::optional<uint32_t> BinaryType(const Text& path) = 0;
    // GetKeyboardLayout of a thread, as the 32 bits a layout handle carries.
    virtual uint32_t KeyboardLayout(uint32_t threadId) = 0;
    // IsWow64Process of this process, looked up at run time; false when the
    // system has no such function or it fails.
    virtual bool ProgramRunsUnderWow64() = 0;
    // IsWow64Process of another process: a 32-bit process on a 64-bit system.
    // False when the process cannot be opened or the call fails.
    virtual bool ProcessRunsUnderWow64(uint32_t processId) = 0;
    // Whether OpenProcess for PROCESS_QUERY_INFORMATION succeeds: it does not
    // for a process that runs with higher rights than the program.
    virtual bool CanOpenForQuery(uint32_t processId) = 0;
    // Whether the window, or the focus window of its thread, is a password box
    // or marks itself as holding a secret: its text must not be read.
    virtual bool HoldsSecret(WindowId window) = 0;
};

}  // namespace wlk::platform
