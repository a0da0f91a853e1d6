// The profile (INI) functions over the simulated file system, behaving as
// the Windows ones do under Wine. Every call reads the file afresh; a write
// rewrites it whole in the encoding it had.
#pragma once

#include <optional>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/sim/ini_text.h"

namespace wlk::platform::sim {

class SimProfile : public Profile {
public:
    explicit SimProfile(FileSystem& files) : files_(files) {}

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

private:
    std::optional<ini::Document> Load(const Text& file);
    // The stored value of a key with '=', as the file has it.
    std::optional<Text> Find(const Text& file, const Text& section, const Text& key);

    FileSystem& files_;
};

}  // namespace wlk::platform::sim
