// The text of %WINDOWS_VERSION%: the product name of the running Windows with
// its word size, build and service pack.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::phrases {

// The fields of OSVERSIONINFOEXW that choose the name.
struct OsVersion {
    bool nt = true;            // VER_PLATFORM_WIN32_NT, else the Windows 95 line
    bool workstation = true;   // VER_NT_WORKSTATION, else a server
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    bool is64 = false;         // a 64-bit system
    Text servicePack;          // szCSDVersion
};

// "Windows 7 64x build 7601 Service Pack 1"; the space before the service
// pack stays when there is none.
Text WindowsVersionText(const OsVersion& version);

}  // namespace wlk::phrases
