#include "hook/query_text.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace wlk::hook {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code points of a UTF-16 text; a lone surrogate becomes U+FFFD and a
// zero is left out, since the text ends at the first zero byte.
std::vector<char32_t> CodePoints(std::u16string_view text) {
    std::vector<char32_t> points;
    points.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == 0) continue;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            points.push_back(0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            points.push_back(kReplacementCharacter);
        } else {
            points.push_back(c);
        }
    }
    return points;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string CharacterReference(char32_t c) {
    return "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
}

// One character as XML text. The reader drops white space at either end of
// an element's text and folds runs of it into one blank, but keeps white
// space written as character references: only a blank between two other
// characters goes as itself.
std::string Piece(const std::vector<char32_t>& points, size_t i) {
    const char32_t c = points[i];
    switch (c) {
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '&': return "&amp;";
        case '"': return "&quot;";
        case '\'': return "&apos;";
        case ' ': {
            const bool inner =
                i > 0 && points[i - 1] != ' ' && i + 1 < points.size() && points[i + 1] != ' ';
            return inner ? std::string(" ") : CharacterReference(c);
        }
        default: break;
    }
    if (c < 0x20) return CharacterReference(c);
    std::string utf8;
    AppendUtf8(utf8, c);
    return utf8;
}

bool IsBlank(char32_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The reader drops a text made only of white space, references or not, but
// keeps it inside a CDATA section, where it cannot end the section early.
std::string BlankSection(const std::vector<char32_t>& points, size_t budget) {
    const std::string open = "<![CDATA[", close = "]]>";
    if (budget < open.size() + close.size() + 1) return std::string();
    const size_t room = budget - open.size() - close.size();
    std::string blanks(points.begin(), points.begin() + std::min(points.size(), room));
    return open + blanks + close;
}

// The escaped text, cut after the last whole character that fits in `budget` bytes.
std::string Escaped(std::u16string_view text, size_t budget = std::string::npos) {
    const std::vector<char32_t> points = CodePoints(text);
    if (!points.empty() && std::all_of(points.begin(), points.end(), IsBlank))
        return BlankSection(points, budget);
    std::string out;
    for (size_t i = 0; i < points.size(); ++i) {
        const std::string piece = Piece(points, i);
        if (out.size() + piece.size() > budget) {
            // A blank that was inner is now the last character.
            if (!out.empty() && out.back() == ' ') {
                out.pop_back();
                const std::string blank = CharacterReference(' ');
                if (out.size() + blank.size() <= budget) out += blank;
            }
            break;
        }
        out += piece;
    }
    return out;
}

std::string Attribute(const char* name, long long value) {
    return std::string(" ") + name + "=\"" + std::to_string(value) + "\"";
}

std::string Element(const char* name, const std::string& text) {
    return std::string("<") + name + ">" + text + "</" + name + ">";
}

}  // namespace

std::string BuildQueryText(const QueryFacts& facts, size_t byteLimit) {
    // The reader takes the element named for the low half as the high half.
    const uint32_t highHalf = facts.keyboardLayout >> 16;
    const uint32_t lowHalf = facts.keyboardLayout & 0xFFFF;
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><LKQuery";
    text += Attribute("POINT_X", facts.pointX) + Attribute("POINT_Y", facts.pointY);
    text += Attribute("HWND_Active", facts.active) + Attribute("HWND_Capture", facts.capture);
    text += Attribute("HWND_Caret", facts.caret) + Attribute("HWND_Focus", facts.focus);
    text += Attribute("HWND_MenuOwner", facts.menuOwner) + ">";
    text += Element("AppPath", Escaped(facts.appPath));
    text += Element("WindowClassName", Escaped(facts.windowClassName));
    text += Element("HWND", std::to_string(facts.window));
    text += Element("HKLLoword", std::to_string(highHalf));
    text += Element("HKLHoword", std::to_string(lowHalf));
    text += "<SelText StateSelText=\"" + std::to_string(facts.selState) + "\">";
    const std::string tail = "</SelText></LKQuery>";

    const size_t fixed = text.size() + tail.size() + 1;  // with the zero byte
    if (fixed > byteLimit) return std::string();
    text += Escaped(facts.selText, byteLimit - fixed);
    text += tail;
    return text;
}

}  // namespace wlk::hook
