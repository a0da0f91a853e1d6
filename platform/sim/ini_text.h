// The text side of the Windows profile (INI) functions, as Windows and Wine
// behave: how a file's bytes become sections and entries, how look-ups match,
// how values come back out of a caller's buffer, and how a rewrite lays the
// file out again. Pure functions over bytes and text, so they can be fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace wlk::platform::sim::ini {

// A file keeps the encoding it was found in; a new or empty file is ANSI.
enum class Encoding { Ansi, Utf16Le, Utf16Be, Utf8 };

struct Entry {
    Text key;
    std::optional<Text> value;  // nothing for a line without '='
    bool operator==(const Entry&) const = default;
};

struct Section {
    Text name;
    std::vector<Entry> entries;
    bool operator==(const Section&) const = default;
};

struct Document {
    Encoding encoding = Encoding::Ansi;
    // The first section is always the unnamed one holding the lines above
    // the first header. Later sections may repeat a name; look-ups see only
    // the first of them, but a rewrite keeps them all.
    std::vector<Section> sections{Section{}};
    bool operator==(const Document&) const = default;
};

// Bytes of a file to text, by its byte order mark.
Text Decode(std::string_view bytes, Encoding& encoding);
std::string Encode(std::u16string_view text, Encoding encoding);

Document Parse(std::string_view bytes);
std::string Serialize(const Document& doc);

// How a look-up takes the name it is given: the section read alone does not
// trim it, so " Settings " finds nothing there.
enum class Name { Trimmed, AsGiven };

// First section / entry whose name matches, ignoring letter case.
const Section* FindSection(const Document& doc, std::u16string_view name,
                           Name match = Name::Trimmed);
const Entry* FindEntry(const Section& section, std::u16string_view key);

// What a string read places in a buffer of `bufferChars` characters.
Text CopyValue(std::u16string_view value, size_t bufferChars);
// The default as a string read hands it back.
Text CopyDefault(std::u16string_view def, size_t bufferChars);

// An integer read of a (copied) value; nothing when the value is empty, so
// that the caller's default applies.
std::optional<int> ParseInt(std::u16string_view value);
// The buffer an integer read copies the value into first.
inline constexpr size_t kIntBufferChars = 30;

// The section's lines for a section read into `bufferChars` characters.
std::vector<Text> SectionLines(const Section& section, size_t bufferChars);

// Sets (or with no value removes) a key, as a write does. False when the
// document did not change, in which case the file is left alone.
bool SetValue(Document& doc, std::u16string_view section, std::u16string_view key,
              const std::optional<Text>& value);

// Whether the key, as a write left it, is read back the same from the file:
// one with a trailing blank, for one, is not.
bool ReadsBack(const Document& doc, std::u16string_view section, std::u16string_view key);

// Struct values: the bytes in upper-case hex followed by their sum modulo 256.
Text StructToHex(const uint8_t* data, size_t size);
// Decodes into `out` byte by byte, so a failure may leave it partly
// overwritten, as the real function does.
bool HexToStruct(std::u16string_view hex, uint8_t* out, size_t size);

}  // namespace wlk::platform::sim::ini
