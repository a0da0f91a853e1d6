#include "history/html_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/text.h"

namespace wlk::history {

namespace {

using std::string_view;
constexpr size_t npos = string_view::npos;

constexpr string_view kStartMarker = "<!--StartFragment-->";
constexpr string_view kEndMarker = "<!--EndFragment-->";
// Longer numbers than this are no character anyway; stopping early keeps the
// value from overflowing.
constexpr uint32_t kPastLastCharacter = 0x110000;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool IsLetter(char c) {
    return (Lower(c) >= 'a' && Lower(c) <= 'z');
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

size_t FindIgnoreCase(string_view text, string_view what, size_t from = 0) {
    for (size_t at = from; at + what.size() <= text.size(); ++at) {
        size_t i = 0;
        while (i < what.size() && Lower(text[at + i]) == Lower(what[i])) ++i;
        if (i == what.size()) return at;
    }
    return npos;
}

// An offset the header gives ("StartFragment:000123"), when it lies within
// the HTML that follows the header.
std::optional<size_t> HeaderOffset(string_view block, string_view name, size_t htmlStart) {
    const string_view header = block.substr(0, htmlStart);
    size_t at = header.find(name);
    while (at != npos && at != 0 && header[at - 1] != '\n' && header[at - 1] != '\r')
        at = header.find(name, at + 1);
    if (at == npos) return std::nullopt;
    size_t value = 0, digits = 0;
    for (size_t i = at + name.size(); i < header.size() && header[i] >= '0' && header[i] <= '9';
         ++i, ++digits) {
        value = value * 10 + size_t(header[i] - '0');
        if (value > block.size()) return std::nullopt;
    }
    if (digits == 0 || value < htmlStart) return std::nullopt;
    return value;
}

// What lies between <body ...> and </body>, or all of the HTML without them.
string_view Body(string_view html) {
    size_t start = FindIgnoreCase(html, "<body");
    if (start != npos) {
        const size_t close = html.find('>', start);
        start = close == npos ? html.size() : close + 1;
        html.remove_prefix(start);
    }
    return html.substr(0, FindIgnoreCase(html, "</body"));
}

string_view Fragment(string_view block) {
    // The clipboard's header ("Version:0.9", offsets, "SourceURL:") comes before the HTML.
    const size_t htmlStart = block.starts_with("Version:") ? block.find('<') : 0;
    if (htmlStart == npos) return {};
    const size_t marker = block.find(kStartMarker);
    if (marker != npos) {
        const size_t from = marker + kStartMarker.size();
        const size_t end = block.find(kEndMarker, from);
        if (end != npos) return block.substr(from, end - from);
    }
    const auto start = HeaderOffset(block, "StartFragment:", htmlStart);
    const auto end = HeaderOffset(block, "EndFragment:", htmlStart);
    if (start && end && *start <= *end) return block.substr(*start, *end - *start);
    return Body(block.substr(htmlStart));
}

void AppendUtf8(std::string& out, uint32_t c) {
    if (c == 0 || c >= kPastLastCharacter || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// "#65", "#x41" or "#X41"; nothing when it has no digits.
std::optional<uint32_t> NumericReference(string_view name) {
    if (name.size() < 2 || name[0] != '#') return std::nullopt;
    const bool hex = Lower(name[1]) == 'x';
    const string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && Lower(c) >= 'a' && Lower(c) <= 'f')
            digit = Lower(c) - 'a' + 10;
        if (digit < 0) return std::nullopt;
        if (value < kPastLastCharacter) value = value * (hex ? 16 : 10) + uint32_t(digit);
    }
    return value;
}

std::optional<uint32_t> EntityCharacter(string_view name) {
    if (name == "amp") return '&';
    if (name == "lt") return '<';
    if (name == "gt") return '>';
    if (name == "quot") return '"';
    if (name == "nbsp") return 0xA0;
    return NumericReference(name);
}

// Builds the text in UTF-8: breaks and blanks wait until text follows them,
// so that nested blocks give one break and no text begins or ends with them.
class TextBuilder {
public:
    void Add(string_view text) {
        if (!out_.empty() && !EndsWithBreak()) {
            if (breakPending_)
                out_ += "\r\n";
            else if (blankPending_)
                out_ += ' ';
        }
        breakPending_ = blankPending_ = false;
        out_ += text;
    }
    void Blank() { blankPending_ = true; }
    void BlockEdge() { breakPending_ = true; }
    void LineBreak() {
        out_ += "\r\n";
        breakPending_ = blankPending_ = false;
    }
    const std::string& Result() const { return out_; }

private:
    bool EndsWithBreak() const { return out_.back() == '\n'; }

    std::string out_;
    bool breakPending_ = false;
    bool blankPending_ = false;
};

// The end of the tag that starts at `at`: past its '>', quoted values skipped;
// npos when it never ends.
size_t TagEnd(string_view html, size_t at) {
    char quote = 0;
    for (size_t i = at + 1; i < html.size(); ++i) {
        if (quote) {
            if (html[i] == quote) quote = 0;
        } else if (html[i] == '"' || html[i] == '\'') {
            quote = html[i];
        } else if (html[i] == '>') {
            return i + 1;
        }
    }
    return npos;
}

std::string TagName(string_view tag) {
    std::string name;
    for (size_t i = tag[1] == '/' ? 2 : 1;
         i < tag.size() && (IsLetter(tag[i]) || (tag[i] >= '0' && tag[i] <= '9')); ++i)
        name += Lower(tag[i]);
    return name;
}

// Handles the tag at `at`; returns where the text goes on.
size_t Tag(string_view html, size_t at, TextBuilder& text) {
    if (html.substr(at, 4) == "<!--") {
        const size_t end = html.find("-->", at + 4);
        return end == npos ? html.size() : end + 3;
    }
    const size_t end = TagEnd(html, at);
    if (end == npos) return html.size();  // an unfinished tag hides the rest
    const string_view tag = html.substr(at, end - at);
    const std::string name = TagName(tag);
    const bool closing = tag[1] == '/';
    if (name == "br") {
        text.LineBreak();
    } else if (name == "p" || name == "div" || name == "li" || name == "tr") {
        text.BlockEdge();
    } else if (name == "td" || name == "th") {
        text.Blank();
    } else if (!closing && (name == "script" || name == "style")) {
        const size_t close = FindIgnoreCase(html, "</" + name, end);
        if (close == npos) return html.size();
        const size_t closeEnd = TagEnd(html, close);
        return closeEnd == npos ? html.size() : closeEnd;
    }
    return end;
}

// Handles the '&' at `at`; returns where the text goes on. An '&' that starts
// no known entity stays as it is.
size_t Entity(string_view html, size_t at, TextBuilder& text) {
    constexpr size_t kLongestName = 32;  // "&#" with padded digits
    const size_t semicolon = html.substr(at, kLongestName).find(';');
    std::optional<uint32_t> c;
    if (semicolon != npos) c = EntityCharacter(html.substr(at + 1, semicolon - 1));
    if (!c) {
        text.Add("&");
        return at + 1;
    }
    std::string bytes;
    AppendUtf8(bytes, *c);
    text.Add(bytes);
    return at + semicolon + 1;
}

bool StartsTag(string_view html, size_t at) {
    if (at + 1 >= html.size()) return false;
    const char next = html[at + 1];
    return IsLetter(next) || next == '/' || next == '!' || next == '?';
}

}  // namespace

Text HtmlPlainText(std::string_view block) {
    block = block.substr(0, block.find('\0'));
    const string_view html = Fragment(block);
    TextBuilder text;
    size_t at = 0;
    while (at < html.size()) {
        const char c = html[at];
        if (c == '<' && StartsTag(html, at)) {
            at = Tag(html, at, text);
        } else if (c == '&') {
            at = Entity(html, at, text);
        } else if (IsBlank(c)) {
            text.Blank();
            ++at;
        } else {
            const size_t end = html.find_first_of("<& \t\r\n\f", at + 1);
            const size_t stop = end == npos ? html.size() : end;
            text.Add(html.substr(at, stop - at));
            at = stop;
        }
    }
    Text plain = FromUtf8(text.Result());
    // An overlong encoding of NUL would end the text early wherever it goes.
    std::replace(plain.begin(), plain.end(), u'\0', u'\uFFFD');
    return plain;
}

}  // namespace wlk::history
