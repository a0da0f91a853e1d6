// The Windows profile (INI) functions. Files may be UTF-16 LE with a byte order
// mark or ANSI; section and key look-ups ignore letter case, as on Windows.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/types.h"

namespace wlk::platform {

class Profile {
public:
    virtual ~Profile() = default;
    // GetPrivateProfileStringW with a buffer of `bufferChars` characters: the
    // value (or `def`), cut to bufferChars - 1 characters.
    virtual Text GetString(const Text& file, const Text& section, const Text& key,
                           const Text& def, size_t bufferChars) = 0;
    // GetPrivateProfileIntW.
    virtual int GetInt(const Text& file, const Text& section, const Text& key, int def) = 0;
    // GetPrivateProfileSectionW with a buffer of `bufferChars` characters: the
    // section's lines ("key=value"), in file order.
    virtual std::vector<Text> GetSection(const Text& file, const Text& section,
                                         size_t bufferChars) = 0;
    // WritePrivateProfileSectionW: the section's keys replaced by `lines`
    // ("key=value"), the file written once.
    virtual bool WriteSection(const Text& file, const Text& section,
                              const std::vector<Text>& lines) = 0;
    // WritePrivateProfileStringW; no value deletes the key.
    virtual bool WriteString(const Text& file, const Text& section, const Text& key,
                             const std::optional<Text>& value) = 0;
    // GetPrivateProfileStructW: false unless the stored hex text holds size
    // bytes plus a matching checksum byte. On failure `data` may already be
    // overwritten, so callers read into a copy.
    virtual bool GetStruct(const Text& file, const Text& section, const Text& key, void* data,
                           size_t size) = 0;
    // WritePrivateProfileStructW: the bytes in upper-case hex plus the checksum byte.
    virtual bool WriteStruct(const Text& file, const Text& section, const Text& key,
                             const void* data, size_t size) = 0;
};

}  // namespace wlk::platform
