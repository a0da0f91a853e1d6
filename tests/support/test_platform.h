// The platform the shared tests run against: the simulated one natively, the
// real Win32 one in the Windows build (run under Wine).
#pragma once

#include <gtest/gtest.h>

#include "platform/platform.h"

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

private:
    Text dir_;
};

// True when the tests run against the simulated platform.
bool IsSimulated();

}  // namespace wlk::test
