// Facts about the process, the user and the machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::platform {

enum class SpecialFolder { AppData, Profile };

// A LOGFONTW as raw bytes (92 bytes on Windows).
using LogFontBytes = std::array<uint8_t, 92>;

class System {
public:
    virtual ~System() = default;
    // Full path of the program file (GetModuleFileNameW).
    virtual Text ProgramPath() = 0;
    // The file version of the program's version resource, "a.b.c.d".
    virtual Text ProgramVersion() = 0;
    // A readable name and version of the operating system.
    virtual Text OsDescription() = 0;
    // SHGetSpecialFolderPathW; empty on failure.
    virtual Text SpecialFolderPath(SpecialFolder folder) = 0;
    // ExpandEnvironmentStringsW into at most `maxChars` characters; nothing on failure.
    virtual std::optional<Text> ExpandEnvironment(const Text& text, size_t maxChars) = 0;
    // GetLocalTime.
    virtual LocalTime Now() = 0;
    // GetSystemTimeAsFileTime.
    virtual uint64_t NowAsFileTime() = 0;
    // GetTickCount: milliseconds since the system started, wrapping.
    virtual uint32_t TickCount() = 0;
    // GetDateFormatW + GetTimeFormatW in the user's default locale.
    virtual Text FormatUserDateTime(const LocalTime& time) = 0;
    // FormatMessageW from the system for an error code, at most `maxChars`.
    virtual Text SystemErrorText(uint32_t code, size_t maxChars) = 0;
    // GetLastError / SetLastError of the calling thread.
    virtual uint32_t ThreadLastError() = 0;
    virtual void SetThreadLastError(uint32_t code) = 0;
    // GetTempPathW: the user's temporary folder, ending with a backslash.
    virtual Text TempFolder() = 0;
    // GetTempFileNameW with a nonzero unique number: the name only, no file
    // is made. Empty on failure.
    virtual Text TempFileName(const Text& folder, const Text& prefix, uint32_t unique) = 0;
    // GetKeyboardLayoutList(0, nullptr).
    virtual int KeyboardLayoutCount() = 0;
    // lfMenuFont of SPI_GETNONCLIENTMETRICS.
    virtual LogFontBytes MenuFont() = 0;
    // GlobalAddAtomW; 0 on failure.
    virtual uint16_t AddGlobalAtom(const Text& name) = 0;
    virtual void DeleteGlobalAtom(uint16_t atom) = 0;
};

}  // namespace wlk::platform
