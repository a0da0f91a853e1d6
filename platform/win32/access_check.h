// Whether the current user may write a file or folder, asked of the security
// subsystem rather than tried: trying would create or touch the file.
#pragma once

namespace wlk::platform::win32 {

// An access check for GENERIC_WRITE against the path's security descriptor
// with the caller's token; false for a missing path and for a read-only file.
bool MayWrite(const wchar_t* path);

}  // namespace wlk::platform::win32
