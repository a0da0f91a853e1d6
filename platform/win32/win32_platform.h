// The real platform of the Windows program.
#pragma once

namespace wlk::platform::win32 {

// Makes the Win32 services the current platform. They live until the process
// ends; a second call installs the same ones again.
void InstallWin32Platform();

}  // namespace wlk::platform::win32
