// The profile (INI) functions: the real GetPrivateProfile... and
// WritePrivateProfile... calls.
#pragma once

#include "platform/profile.h"

namespace wlk::platform::win32 {

class Win32Profile final : public Profile {
public:
    Text GetString(const Text& file, const Text& section, const Text& key, const Text& def,
                   size_t bufferChars) override;
    int GetInt(const Text& file, const Text& section, const Text& key, int def) override;
    std::vector<Text> GetSection(const Text& file, const Text& section,
                                 size_t bufferChars) override;
    bool WriteString(const Text& file, const Text& section, const Text& key,
                     const std::optional<Text>& value) override;
    bool WriteSection(const Text& file, const Text& section,
                      const std::vector<Text>& lines) override;
    bool GetStruct(const Text& file, const Text& section, const Text& key, void* data,
                   size_t size) override;
    bool WriteStruct(const Text& file, const Text& section, const Text& key, const void* data,
                     size_t size) override;
};

}  // namespace wlk::platform::win32
