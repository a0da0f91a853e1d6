#include "platform/win32/access_check.h"

#include <optional>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

namespace {

// AccessCheck needs the owner and group besides the DACL.
constexpr SECURITY_INFORMATION kNeeded =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

std::optional<std::vector<BYTE>> ReadDescriptor(const wchar_t* path) {
    DWORD size = 0;
    GetFileSecurityW(path, kNeeded, nullptr, 0, &size);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> descriptor(size);
    if (!GetFileSecurityW(path, kNeeded, descriptor.data(), size, &size)) return std::nullopt;
    return descriptor;
}

// AccessCheck wants an impersonation token: the thread's own when it
// impersonates somebody, else a copy of the process token.
UniqueHandle ImpersonationToken() {
    const DWORD rights = TOKEN_QUERY | TOKEN_DUPLICATE;
    HANDLE raw = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), rights, TRUE, &raw) &&
        !OpenProcessToken(GetCurrentProcess(), rights, &raw)) {
        return UniqueHandle();
    }
    UniqueHandle token(raw);
    HANDLE copy = nullptr;
    if (!DuplicateToken(token.Get(), SecurityImpersonation, &copy)) return UniqueHandle();
    return UniqueHandle(copy);
}

bool GrantsWrite(std::vector<BYTE>& descriptor, HANDLE token) {
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                               FILE_ALL_ACCESS};
    DWORD desired = GENERIC_WRITE;
    MapGenericMask(&desired, &mapping);
    PRIVILEGE_SET privileges = {};
    DWORD privilegesSize = sizeof(privileges);
    DWORD granted = 0;
    BOOL allowed = FALSE;
    if (!AccessCheck(descriptor.data(), token, desired, &mapping, &privileges, &privilegesSize,
                     &granted, &allowed)) {
        return false;
    }
    return allowed != FALSE;
}

}  // namespace

bool MayWrite(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    // The DACL may allow writing a file that its read-only attribute still refuses.
    // On a folder the attribute means nothing of the kind.
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!folder && (attributes & FILE_ATTRIBUTE_READONLY)) return false;

    auto descriptor = ReadDescriptor(path);
    if (!descriptor) return false;
    UniqueHandle token = ImpersonationToken();
    return token && GrantsWrite(*descriptor, token.Get());
}

}  // namespace wlk::platform::win32
