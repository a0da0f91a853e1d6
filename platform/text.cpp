#include "platform/text.h"

namespace wlk {

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // a lone surrogate
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

Text FromUtf8(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        uint8_t b = uint8_t(bytes[i]);
        uint32_t c = 0xFFFD;
        size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 1) {
            c = b;
        } else if (len > 1 && i + len <= bytes.size()) {
            c = b & (0x7F >> len);
            bool ok = true;
            for (size_t k = 1; k < len; ++k) {
                uint8_t cb = uint8_t(bytes[i + k]);
                if ((cb & 0xC0) != 0x80) ok = false;
                c = (c << 6) | (cb & 0x3F);
            }
            if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD, len = 1;
            // An overlong form gives one U+FFFD for its bytes: read as its character,
            // C0 8D would slip a carriage return past a check made on the bytes.
            const uint32_t smallest = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
            if (c < smallest) c = 0xFFFD;
        } else {
            len = 1;
        }
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

std::string ToLatin1(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out += c < 256 ? char(c) : '?';
    return out;
}

Text FromLatin1(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    for (char c : bytes) out += char16_t(uint8_t(c));
    return out;
}

Text ToText(long long value) {
    return FromLatin1(std::to_string(value));
}

namespace {
// Latin-1 and the Cyrillic letters of U+0400-U+045F, as Windows pairs them:
// names that differ only so are the same file, key or format to the system,
// and a search that ignores case must do so for Russian text too.
char16_t UpperChar(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    if (c >= 0x0430 && c <= 0x044F) return c - 0x20;
    if (c >= 0x0450 && c <= 0x045F) return c - 0x50;
    return c;
}
char16_t LowerChar(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
    return c;
}
bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
}  // namespace

Text ToUpper(std::u16string_view text) {
    Text out(text);
    for (auto& c : out) c = UpperChar(c);
    return out;
}

Text ToLower(std::u16string_view text) {
    Text out(text);
    for (auto& c : out) c = LowerChar(c);
    return out;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i])) return false;
    return true;
}

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

Text TrimRight(std::u16string_view text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return Text(text.substr(0, end));
}

Text Trim(std::u16string_view text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) ++begin;
    return TrimRight(text.substr(begin));
}

std::optional<long long> ParseInt(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    long long value = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
        if (value < 1'000'000'000'000'000LL) value = value * 10 + (text[i] - u'0');
    }
    if (digits == 0) return std::nullopt;
    return negative ? -value : value;
}

Text Format(std::u16string_view pattern, std::initializer_list<Text> args) {
    Text out;
    auto arg = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == u's' || pattern[i + 1] == u'd' || pattern[i + 1] == u'u') &&
            arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace wlk
