// The fixture's file helpers, the same on both platforms.
#include "support/test_platform.h"

#include "platform/text.h"

namespace wlk::test {

Text PlatformTest::Path(const char* name) const {
    return dir_ + T(name);
}

std::string PlatformTest::Bytes(const Text& path) {
    return P().files.ReadAll(path).value_or(std::string());
}

void PlatformTest::WriteBytes(const Text& path, const std::string& bytes) {
    auto file = P().files.CreateAlways(path, platform::Security::Default);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Write(bytes.data(), bytes.size()));
}

}  // namespace wlk::test
