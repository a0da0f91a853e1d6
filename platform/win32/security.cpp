#include "platform/win32/security.h"

namespace wlk::platform::win32 {

EveryoneSecurity::EveryoneSecurity(Inherit inherit) {
    built_ = Build(inherit);
}

SECURITY_ATTRIBUTES* EveryoneSecurity::For(Security security) {
    if (security != Security::Everyone || !built_) return nullptr;
    return &attributes_;
}

bool EveryoneSecurity::Build(Inherit inherit) {
    // S-1-1-0: the world authority with the single sub-authority 0.
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    if (!InitializeSid(sid_, &world, 1)) return false;
    *GetSidSubAuthority(sid_, 0) = SECURITY_WORLD_RID;

    auto* acl = reinterpret_cast<ACL*>(acl_);
    const DWORD flags =
        inherit == Inherit::ToChildren ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;
    if (!InitializeAcl(acl, sizeof(acl_), ACL_REVISION)) return false;
    if (!AddAccessAllowedAceEx(acl, ACL_REVISION, flags, kEveryoneAccess, sid_)) return false;

    if (!InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION)) return false;
    if (!SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE)) return false;

    attributes_.nLength = sizeof(attributes_);
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
    return true;
}

bool RunsAsAdministrator() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                  0, 0, 0, 0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    CheckTokenMembership(nullptr, administrators, &member);
    FreeSid(administrators);
    return member != FALSE;
}

}  // namespace wlk::platform::win32
