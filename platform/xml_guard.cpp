#include "platform/xml_guard.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>

namespace wlk {

// TinyXML steps over a multi-byte character by the length its lead byte claims,
// so a sequence cut off by the end of the text makes it read past the end.
bool IsUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        size_t length = 0;
        uint32_t c = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2, c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, c = b & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        const uint32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

namespace {

// The bytes TinyXML skips as white space between tokens: blanks and, in UTF-8,
// the byte order mark and the two non-characters U+FFFE and U+FFFF.
size_t SpaceLength(std::string_view text, size_t at) {
    if (at >= text.size()) return 0;
    if (IsXmlSpace(text[at])) return 1;
    const std::string_view rest = text.substr(at, 3);
    return rest == "\xEF\xBB\xBF" || rest == "\xEF\xBF\xBE" || rest == "\xEF\xBF\xBF" ? 3 : 0;
}

// "<?xml" in any letter case at `at`: the start of a declaration.
bool IsDeclarationAt(std::string_view text, size_t at) {
    std::string start(text.substr(at, 5));
    for (char& c : start) c = char(std::tolower(static_cast<unsigned char>(c)));
    return start == "<?xml";
}

}  // namespace

std::string WithoutDeclaration(std::string_view text) {
    size_t at = 0;
    while (size_t length = SpaceLength(text, at)) at += length;
    const size_t end = IsDeclarationAt(text, at) ? text.find('>', at) : std::string_view::npos;
    if (end == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, at)) + std::string(text.substr(end + 1));
}

namespace {

// The scanner follows the document token by token as TinyXML reads it and
// measures how deep its elements nest. Where TinyXML is lenient (an unquoted
// attribute value, a second declaration) it does not follow and the document is
// refused, as no phrase file looks like that.
class NestingScanner {
public:
    explicit NestingScanner(std::string_view text) : text_(text) {}

    // The deepest nesting, or nothing when the document cannot be followed.
    std::optional<size_t> Deepest() {
        size_t depth = 0, deepest = 0;
        while ((at_ = text_.find('<', at_)) != std::string_view::npos) {
            if (At("<!--")) {
                SkipPast("-->");
            } else if (At("<![CDATA[")) {
                SkipPast("]]>");
            } else if (IsDeclarationAt(text_, at_)) {
                return std::nullopt;
            } else if (At("</")) {
                if (depth > 0) --depth;
                SkipPast(">");
            } else if (NameStart(1)) {
                bool empty = false;
                if (!SkipStartTag(empty)) return std::nullopt;
                if (!empty) deepest = std::max(deepest, ++depth);
            } else {
                SkipPast(">");  // "<!DOCTYPE", "<?pi": up to the first '>'
            }
        }
        return deepest;
    }

private:
    bool At(std::string_view word) const { return text_.substr(at_, word.size()) == word; }
    void SkipPast(std::string_view end) {
        const size_t found = text_.find(end, at_ + 1);
        at_ = found == std::string_view::npos ? text_.size() : found + end.size();
    }
    void SkipSpace() {
        while (size_t length = SpaceLength(text_, at_)) at_ += length;
    }
    bool NameStart(size_t offset) const {
        if (at_ + offset >= text_.size()) return false;
        const auto c = static_cast<unsigned char>(text_[at_ + offset]);
        return c >= 127 || std::isalpha(c) || c == '_';
    }
    bool SkipName() {
        if (!NameStart(0)) return false;
        for (++at_; at_ < text_.size(); ++at_) {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (!(c >= 127 || std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == ':'))
                break;
        }
        return true;
    }
    // From "<name" to past its ">" or "/>", over attributes in quotes.
    bool SkipStartTag(bool& empty) {
        ++at_;
        SkipName();
        for (size_t attributes = 0;; ++attributes) {
            SkipSpace();
            if (At("/>") || At(">")) {
                empty = At("/>");
                at_ += empty ? 2 : 1;
                return true;
            }
            if (attributes == kMaxXmlAttributes || !SkipName()) return false;
            SkipSpace();
            if (!At("=")) return false;
            ++at_;
            SkipSpace();
            if (!At("\"") && !At("'")) return false;
            const size_t close = text_.find(text_[at_], at_ + 1);
            if (close == std::string_view::npos) return false;
            at_ = close + 1;
        }
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

std::optional<size_t> XmlNestingDepth(std::string_view text) {
    return NestingScanner(WithoutDeclaration(text)).Deepest();
}

std::mutex& TinyXmlWhiteSpace::Mutex() {
    static std::mutex mutex;
    return mutex;
}

TinyXmlWhiteSpace::TinyXmlWhiteSpace(bool condensed)
    : lock_(Mutex()), before_(TiXmlBase::IsWhiteSpaceCondensed()) {
    TiXmlBase::SetCondenseWhiteSpace(condensed);
}

TinyXmlWhiteSpace::~TinyXmlWhiteSpace() {
    TiXmlBase::SetCondenseWhiteSpace(before_);
}

}  // namespace wlk
