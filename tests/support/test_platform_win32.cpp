// The shared tests under Wine: the real Win32 platform, and for every test a
// fresh folder of its own under the temporary folder.
#include <string>

#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "support/test_platform.h"

namespace wlk::test {

namespace {

using platform::win32::FromWide;
using platform::win32::UniqueFind;

const wchar_t* Wide(const Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

Text TestsRoot() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return FromWide(temp, length) + u"wlk-tests\\";
}

// Parameterised and typed tests put '/' into their names.
Text FolderName(const ::testing::TestInfo& info) {
    std::string name = std::string(info.test_suite_name()) + "." + info.name();
    for (char& c : name) {
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) c = '_';
    }
    return T(name);
}

bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Everything inside `folder` (which ends with a backslash), then the folder.
// A test may leave files read-only, which DeleteFileW refuses.
void RemoveTree(const Text& folder) {
    WIN32_FIND_DATAW found = {};
    UniqueFind find(FindFirstFileW(Wide(folder + u"*"), &found));
    while (find) {
        if (!IsDots(found.cFileName)) {
            const Text path = folder + FromWide(found.cFileName);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + u"\\");
            } else {
                SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(Wide(path));
            }
        }
        if (!FindNextFileW(find.Get(), &found)) break;
    }
    find.Reset();
    RemoveDirectoryW(Wide(folder));
}

}  // namespace

bool IsSimulated() {
    return false;
}

void PlatformTest::SetUp() {
    platform::win32::InstallWin32Platform();
    const Text root = TestsRoot();
    CreateDirectoryW(Wide(root), nullptr);
    dir_ = root + FolderName(*::testing::UnitTest::GetInstance()->current_test_info()) + u"\\";
    RemoveTree(dir_);  // what an earlier, interrupted run left behind
    ASSERT_TRUE(CreateDirectoryW(Wide(dir_), nullptr)) << GetLastError();
}

void PlatformTest::TearDown() {
    RemoveTree(dir_);
}

}  // namespace wlk::test
