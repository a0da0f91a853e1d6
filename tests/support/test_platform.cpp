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

Text PlatformTest::IniValue(const Text& path, const Text& section, const Text& key) {
    return P().profile.GetString(path, section, key, u"<missing>", 30000);
}

std::vector<Text> PlatformTest::IniKeys(const Text& path, const Text& section) {
    std::vector<Text> keys;
    for (const Text& line : P().profile.GetSection(path, section, 102400))
        keys.push_back(line.substr(0, line.find(u'=')));
    return keys;
}

}  // namespace wlk::test
