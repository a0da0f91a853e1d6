// The platform the shared tests run against: the simulated one natively, the
// real Win32 one in the Windows build (run under Wine).
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/platform.h"
#include "support/test_helpers.h"

namespace wlk::test {

// Installs the test platform and gives each test a fresh, empty folder.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::Platform& P() { return platform::Current(); }
    // The test's own folder, ending with a backslash.
    const Text& Dir() const { return dir_; }
    Text Path(const char* name) const;
    // Raw bytes of a file, empty when it cannot be read.
    std::string Bytes(const Text& path);
    void WriteBytes(const Text& path, const std::string& bytes);
    // A file in UTF-16 with its byte order mark, as settings and language files are kept.
    void WriteUtf16(const Text& path, const std::string& utf8) {
        WriteBytes(path, Utf16File(utf8));
    }
    // A profile value, "<missing>" when the key is not there.
    Text IniValue(const Text& path, const Text& section, const Text& key);
    // The key names of a profile section in file order.
    std::vector<Text> IniKeys(const Text& path, const Text& section);

private:
    Text dir_;
};

// True when the tests run against the simulated platform.
bool IsSimulated();

// True under Wine. Run by root there, it writes through read-only attributes
// (only deleting is refused) and keeps no creation times.
bool RunsUnderWine();

// What a created object's security descriptor grants Everyone (S-1-1-0), read
// back from the system: the access mask of its allowing ACE, 0 when it has
// none. Nothing when the platform keeps no descriptors (the simulation).
enum class SecuredObject { Event, SharedArea };
std::optional<uint32_t> EveryoneAccess(SecuredObject kind, const Text& name);

}  // namespace wlk::test
