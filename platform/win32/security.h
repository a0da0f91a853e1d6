// The security descriptor that lets every user of the machine open what we
// create: an elevated and a normal instance must reach each other's events,
// shared areas and files.
#pragma once

#include "platform/types.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

// All standard rights and all nine specific ones: full control of a file, and
// covers every right of an event or a file mapping as well.
inline constexpr DWORD kEveryoneAccess = 0x1F01FF;

enum class Inherit { No, ToChildren };

// A self-contained descriptor whose DACL grants Everyone kEveryoneAccess. It
// points into itself, so it is neither copied nor moved.
class EveryoneSecurity {
public:
    explicit EveryoneSecurity(Inherit inherit = Inherit::No);
    EveryoneSecurity(const EveryoneSecurity&) = delete;
    EveryoneSecurity& operator=(const EveryoneSecurity&) = delete;

    // The attributes to pass to a Create call: null (the default security) when
    // `security` asks for it or when the descriptor could not be built.
    SECURITY_ATTRIBUTES* For(Security security);

private:
    bool Build(Inherit inherit);

    // Room for one ACE with the Everyone SID; DWORD elements keep the ACL aligned.
    DWORD sid_[SECURITY_MAX_SID_SIZE / sizeof(DWORD)] = {};
    DWORD acl_[64] = {};
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
    bool built_ = false;
};

// Whether the process token is a member of the built-in Administrators group
// (S-1-5-32-544).
bool RunsAsAdministrator();

}  // namespace wlk::platform::win32
