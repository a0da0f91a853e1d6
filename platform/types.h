// Plain types shared by the platform interfaces. No <windows.h> here: the
// portable core builds on Linux against the simulated platform.
#pragma once

#include <cstdint>
#include <string>

namespace wlk {

using Text = std::u16string;

}  // namespace wlk

namespace wlk::platform {

// Results of the wait functions, with the values Windows gives them.
inline constexpr uint32_t kWaitObject0 = 0;
inline constexpr uint32_t kWaitAbandoned0 = 0x80;
inline constexpr uint32_t kWaitTimeout = 0x102;
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFF;
inline constexpr uint32_t kInfinite = 0xFFFFFFFF;

// Error codes the logic looks at.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorAlreadyExists = 183;

// Who may open a named object or file that we create.
enum class Security { Default, Everyone };

// GetDriveTypeW results.
enum class DriveType : uint32_t {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// The fields of SYSTEMTIME.
struct LocalTime {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

// An opaque window handle as the logic passes it around (an HWND on Windows).
using WindowId = std::uintptr_t;

}  // namespace wlk::platform
