// The shared tests under Wine: the real Win32 platform, and for every test a
// fresh folder of its own under the temporary folder.
#include <aclapi.h>

#include <filesystem>
#include <string>

#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "support/test_platform.h"

namespace wlk::test {

namespace {

using platform::win32::AsWide;
using platform::win32::FromWide;
using platform::win32::UniqueHandle;

Text TestsRoot() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return FromWide(temp, length) + u"wlk-tests\\";
}

// Everything inside `folder` (which ends with a backslash), then the folder. A test
// may leave files read-only, which deleting refuses: every entry is made writable first.
void RemoveTree(const Text& folder) {
    namespace fs = std::filesystem;
    const fs::path root(std::u16string_view(folder).substr(0, folder.size() - 1));
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         it != fs::recursive_directory_iterator(); it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, error);
    fs::remove_all(root, error);
}

// The mask of the first ACE that allows Everyone anything; 0 when none does.
uint32_t EveryoneMask(const ACL* dacl) {
    if (!dacl) return 0;
    DWORD world[SECURITY_MAX_SID_SIZE / sizeof(DWORD)] = {};
    DWORD size = sizeof(world);
    if (!CreateWellKnownSid(WinWorldSid, nullptr, world, &size)) return 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(const_cast<ACL*>(dacl), i, &ace)) return 0;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(&allowed->SidStart, world)) {
            return allowed->Mask;
        }
    }
    return 0;
}

}  // namespace

bool IsSimulated() {
    return false;
}

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::optional<uint32_t> EveryoneAccess(SecuredObject kind, const Text& name) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // A handle of our own that may read the descriptor, whatever the creator kept.
    UniqueHandle object(kind == SecuredObject::Event
                            ? OpenEventW(READ_CONTROL, FALSE, AsWide(name))
                            : OpenFileMappingW(READ_CONTROL, FALSE, AsWide(name)));
    if (!object) return 0;
    if (GetSecurityInfo(object.Get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return 0;
    }
    const uint32_t mask = EveryoneMask(dacl);
    LocalFree(descriptor);
    return mask;
}

void PlatformTest::SetUp() {
    platform::win32::InstallWin32Platform();
    const Text root = TestsRoot();
    CreateDirectoryW(AsWide(root), nullptr);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = root + T(info->test_suite_name()) + u"." + T(info->name()) + u"\\";
    RemoveTree(dir_);  // what an earlier, interrupted run left behind
    ASSERT_TRUE(CreateDirectoryW(AsWide(dir_), nullptr)) << GetLastError();
}

void PlatformTest::TearDown() {
    RemoveTree(dir_);
}

}  // namespace wlk::test
