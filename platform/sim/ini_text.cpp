#include "platform/sim/ini_text.h"

#include <algorithm>

#include "platform/text.h"

namespace wlk::platform::sim::ini {

namespace {

constexpr std::string_view kBomUtf16Le = "\xFF\xFE";
constexpr std::string_view kBomUtf16Be = "\xFE\xFF";
constexpr std::string_view kBomUtf8 = "\xEF\xBB\xBF";

// The profile functions trim the C blanks (space, tab, CR, LF, VT, FF) but
// none of the Unicode spaces such as U+00A0 or U+3000.
bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

std::u16string_view TrimLeft(std::u16string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::u16string_view TrimBoth(std::u16string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The functions take and keep C strings: whatever follows a NUL is lost.
std::u16string_view CutAtNul(std::u16string_view s) {
    return s.substr(0, s.find(u'\0'));
}

// A name or value found in the file: the line is split first, then each
// part trimmed and cut, so "k=V<NUL>al" has the value "V".
Text Field(std::u16string_view s) {
    return Text(CutAtNul(TrimBoth(s)));
}

// A name the caller asks for: the C string, trimmed.
std::u16string_view Needle(std::u16string_view s) {
    return TrimBoth(CutAtNul(s));
}

// A name or value the caller writes keeps its trailing blanks until the
// file is read again.
Text Written(std::u16string_view s) {
    return Text(TrimLeft(CutAtNul(s)));
}

Text DecodeUtf16(std::string_view bytes, bool bigEndian) {
    Text out;
    out.reserve(bytes.size() / 2 + 1);
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const uint8_t first = uint8_t(bytes[i]);
        const uint8_t second = uint8_t(bytes[i + 1]);
        out += bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    // A lone last byte still becomes a character with that low byte. Wine
    // takes the high byte from whatever follows in its memory; here it is 0.
    if (i < bytes.size()) out += char16_t(uint8_t(bytes[i]));
    return out;
}

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
    std::string out(text.size() * 2, '\0');
    char* at = out.data();
    for (char16_t c : text) {
        const char low = char(c & 0xFF);
        const char high = char(c >> 8);
        *at++ = bigEndian ? high : low;
        *at++ = bigEndian ? low : high;
    }
    return out;
}

void ParseLine(std::u16string_view line, Document& doc) {
    line = TrimBoth(line);
    if (line.empty()) return;  // blank lines vanish on the next rewrite
    if (line.front() == u'[') {
        // The name runs to the last ']': "[a]b]" names "a]b", and text after
        // the bracket is dropped.
        const size_t close = line.rfind(u']');
        if (close != std::u16string_view::npos) {
            doc.sections.push_back(Section{Field(line.substr(1, close - 1)), {}});
            return;
        }
    }
    Entry entry;
    const size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) {
        entry.key = Text(CutAtNul(line));
    } else {
        entry.key = Field(line.substr(0, equals));
        entry.value = Field(line.substr(equals + 1));
    }
    doc.sections.back().entries.push_back(std::move(entry));
}

size_t SectionIndex(const Document& doc, std::u16string_view name, Name match) {
    const auto needle = match == Name::Trimmed ? Needle(name) : CutAtNul(name);
    for (size_t i = 0; i < doc.sections.size(); ++i)
        if (EqualsIgnoreCase(doc.sections[i].name, needle)) return i;
    return doc.sections.size();
}

size_t EntryIndex(const Section& section, std::u16string_view key) {
    const auto needle = Needle(key);
    for (size_t i = 0; i < section.entries.size(); ++i)
        if (EqualsIgnoreCase(section.entries[i].key, needle)) return i;
    return section.entries.size();
}

bool IsQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

char16_t HexDigitChar(unsigned nibble) {
    return u"0123456789ABCDEF"[nibble & 0xF];
}

int IntDigit(char16_t c, bool hex) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (hex && c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (hex && c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Struct digits: any ASCII letter counts, 'G' as 16 and so on, as in Wine.
int StructNibble(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
    if (c >= u'a' && c <= u'z') return c - u'a' + 10;
    return -1;
}

bool ReadHexByte(std::u16string_view hex, size_t at, uint8_t& byte) {
    const int high = StructNibble(hex[at]);
    const int low = StructNibble(hex[at + 1]);
    if (high < 0 || low < 0) return false;
    byte = uint8_t(high * 16 + low);
    return true;
}

}  // namespace

Text Decode(std::string_view bytes, Encoding& encoding) {
    if (bytes.starts_with(kBomUtf16Le)) {
        encoding = Encoding::Utf16Le;
        return DecodeUtf16(bytes.substr(kBomUtf16Le.size()), false);
    }
    if (bytes.starts_with(kBomUtf16Be)) {
        encoding = Encoding::Utf16Be;
        return DecodeUtf16(bytes.substr(kBomUtf16Be.size()), true);
    }
    if (bytes.starts_with(kBomUtf8)) {
        encoding = Encoding::Utf8;
        return FromUtf8(bytes.substr(kBomUtf8.size()));
    }
    // Windows reads a file without a mark in the ANSI code page (1252 under
    // Wine here). Latin-1 stands in for it: the two differ only in 0x80-0x9F.
    encoding = Encoding::Ansi;
    return FromLatin1(bytes);
}

std::string Encode(std::u16string_view text, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf16Le: return std::string(kBomUtf16Le) + EncodeUtf16(text, false);
        case Encoding::Utf16Be: return std::string(kBomUtf16Be) + EncodeUtf16(text, true);
        case Encoding::Utf8: return std::string(kBomUtf8) + ToUtf8(text);
        case Encoding::Ansi: break;
    }
    return ToLatin1(text);  // what the code page cannot hold becomes '?'
}

Document Parse(std::string_view bytes) {
    Document doc;
    const Text text = Decode(bytes, doc.encoding);
    const std::u16string_view view(text);
    size_t start = 0;
    while (start <= view.size()) {
        size_t end = view.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) end = view.size();
        ParseLine(view.substr(start, end - start), doc);
        start = end + 1;
    }
    return doc;
}

std::string Serialize(const Document& doc) {
    // Sized first: a settings save rewrites the file dozens of times.
    size_t size = 0;
    for (const Section& section : doc.sections) {
        size += section.name.size() + 4;
        for (const Entry& entry : section.entries)
            size += entry.key.size() + (entry.value ? entry.value->size() + 1 : 0) + 2;
    }
    Text text;
    text.reserve(size);
    for (const Section& section : doc.sections) {
        // An unnamed section has no header, so its lines join the section
        // above when the file is read again.
        if (!section.name.empty()) text.append(u"[").append(section.name).append(u"]\r\n");
        for (const Entry& entry : section.entries) {
            text += entry.key;
            if (entry.value) text.append(u"=").append(*entry.value);
            text += u"\r\n";
        }
    }
    return Encode(text, doc.encoding);
}

const Section* FindSection(const Document& doc, std::u16string_view name, Name match) {
    const size_t i = SectionIndex(doc, name, match);
    return i < doc.sections.size() ? &doc.sections[i] : nullptr;
}

const Entry* FindEntry(const Section& section, std::u16string_view key) {
    const size_t i = EntryIndex(section, key);
    return i < section.entries.size() ? &section.entries[i] : nullptr;
}

Text CopyValue(std::u16string_view value, size_t bufferChars) {
    if (bufferChars == 0) return Text();
    const bool quoted = value.size() > 1 && IsQuote(value.front()) && value.back() == value.front();
    if (!quoted) return Text(value.substr(0, bufferChars - 1));
    // The opening quote is skipped, the rest cut to the buffer, and the last
    // character dropped whenever the buffer is at least as long as that rest:
    // "quoted" in a buffer of 7 comes back as "quote", as on Wine.
    const std::u16string_view rest = value.substr(1);
    Text out(rest.substr(0, bufferChars - 1));
    if (bufferChars >= rest.size() && !out.empty()) out.pop_back();
    return out;
}

Text CopyDefault(std::u16string_view def, size_t bufferChars) {
    def = CutAtNul(def);
    while (!def.empty() && def.back() == u' ') def.remove_suffix(1);  // only spaces, not tabs
    return CopyValue(def, bufferChars);
}

std::optional<int> ParseInt(std::u16string_view value) {
    if (value.empty()) return std::nullopt;
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == u'-' || value[i] == u'+')) negative = value[i++] == u'-';
    // Only a lower-case "0x" starts a hex number; "0X1f" reads as 0.
    const bool hex = value.substr(i, 2) == u"0x";
    if (hex) i += 2;
    uint32_t result = 0;  // wraps like the 32-bit original
    for (int digit; i < value.size() && (digit = IntDigit(value[i], hex)) >= 0; ++i)
        result = result * (hex ? 16u : 10u) + uint32_t(digit);
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

std::vector<Text> SectionLines(const Section& section, size_t bufferChars) {
    std::vector<Text> lines;
    size_t used = 0;
    for (const Entry& entry : section.entries) {
        if (!entry.key.empty() && entry.key.front() == u';') continue;  // comments
        Text line = entry.value ? entry.key + u"=" + *entry.value : entry.key;
        if (line.empty()) continue;
        // Each line takes its length plus a NUL, and two characters stay for
        // the final NULs; the line that does not fit is cut and ends the list.
        if (used + 2 >= bufferChars) break;
        const size_t room = bufferChars - used - 2;
        if (line.size() > room) {
            lines.push_back(line.substr(0, room));
            break;
        }
        used += line.size() + 1;
        lines.push_back(std::move(line));
    }
    return lines;
}

bool SetValue(Document& doc, std::u16string_view section, std::u16string_view key,
              const std::optional<Text>& value) {
    const size_t s = SectionIndex(doc, section, Name::Trimmed);
    if (s == doc.sections.size()) {
        if (!value) return false;
        doc.sections.push_back(Section{Written(section), {}});
    }
    auto& entries = doc.sections[s].entries;
    const size_t e = EntryIndex(doc.sections[s], key);
    if (e == entries.size()) {
        if (!value) return false;
        entries.push_back(Entry{Written(key), Written(*value)});
        return true;
    }
    if (!value) {
        entries.erase(entries.begin() + ptrdiff_t(e));
        return true;
    }
    Text written = Written(*value);
    if (entries[e].value == written) return false;
    entries[e].value = std::move(written);  // the key keeps its spelling
    return true;
}

namespace {
// Printable ASCII without a blank at either end and without `stop` is read
// back as it was written, in every encoding.
bool Plain(std::u16string_view s, char16_t stop) {
    if (!s.empty() && (IsBlank(s.front()) || IsBlank(s.back()))) return false;
    return std::all_of(s.begin(), s.end(),
                       [stop](char16_t c) { return c >= 0x20 && c < 0x7F && c != stop; });
}
}  // namespace

bool ReadsBack(const Document& doc, std::u16string_view section, std::u16string_view key) {
    const Section* found = FindSection(doc, section);
    const Entry* entry = found ? FindEntry(*found, key) : nullptr;
    if (!entry) return false;
    // Most writes are of plain words and numbers, which need no trial.
    if (Plain(found->name, u']') && !entry->key.empty() && entry->key.front() != u'[' &&
        Plain(entry->key, u'=') && entry->value && Plain(*entry->value, u'\0'))
        return true;
    // The entry's line alone, under its section's header.
    Document line{doc.encoding};
    if (!found->name.empty()) line.sections.push_back(Section{found->name, {}});
    line.sections.back().entries.push_back(*entry);
    return Parse(Serialize(line)) == line;
}

Text StructToHex(const uint8_t* data, size_t size) {
    Text hex;
    hex.reserve(2 * size + 2);
    uint8_t sum = 0;
    for (size_t i = 0; i <= size; ++i) {
        const uint8_t byte = i < size ? data[i] : sum;
        sum = uint8_t(sum + byte);
        hex += HexDigitChar(byte >> 4);
        hex += HexDigitChar(byte);
    }
    return hex;
}

bool HexToStruct(std::u16string_view hex, uint8_t* out, size_t size) {
    // Longer text passes when its first size + 1 bytes check out.
    if (hex.size() / 2 <= size) return false;
    uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i) {
        if (!ReadHexByte(hex, 2 * i, out[i])) return false;
        sum = uint8_t(sum + out[i]);
    }
    uint8_t check = 0;
    return ReadHexByte(hex, 2 * size, check) && check == sum;
}

}  // namespace wlk::platform::sim::ini
