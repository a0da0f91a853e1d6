#include "phrases/command_xml.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/text.h"
#include "platform/xml_guard.h"

namespace wlk::phrases {

namespace {

// atoi-like: leading blanks, a sign, digits; 0 without digits. Saturates instead
// of overflowing, so that a hostile file cannot reach undefined behaviour.
long long ParseDecimal(const char* text, const char** end = nullptr) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const char* digits = p;
    unsigned long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value < (1ULL << 62)) value = value * 10 + unsigned(*p - '0');
    }
    if (end) *end = p == digits ? text : p;
    if (p == digits) return 0;
    const auto magnitude = static_cast<long long>(std::min(value, 1ULL << 62));
    return negative ? -magnitude : magnitude;
}

int IntAttribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    if (!value) return 0;
    return static_cast<int>(std::clamp<long long>(ParseDecimal(value), INT_MIN, INT_MAX));
}

// The numbers kept as unsigned bit sets and keys wrap as a C cast would.
uint32_t UnsignedAttribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value ? static_cast<uint32_t>(ParseDecimal(value)) : 0;
}

// "%d|%d|%d|%d|%d|%d" as sscanf reads it: as many fields as match, the rest stay 0.
platform::LocalTime ParseDate(const char* text) {
    uint16_t fields[6] = {};
    const char* p = text;
    for (int i = 0; i < 6; ++i) {
        const char* end = nullptr;
        const long long value = ParseDecimal(p, &end);
        if (end == p) break;
        fields[i] = static_cast<uint16_t>(value);
        p = end;
        if (i < 5 && *p++ != '|') break;
    }
    platform::LocalTime date;
    date.year = fields[0];
    date.month = fields[1];
    date.day = fields[2];
    date.hour = fields[3];
    date.minute = fields[4];
    date.second = fields[5];
    return date;
}

const char* ChildText(const TiXmlElement& root, const char* name) {
    const TiXmlElement* child = root.FirstChildElement(name);
    return child ? child->GetText() : nullptr;
}

Text TakeText(const char* utf8, size_t maxChars = Text::npos) {
    Text text = UnescapeLeftovers(FromUtf8(utf8));
    if (text.size() > maxChars) text.resize(maxChars);
    return text;
}

CommandDataType ParseDataType(const char* utf8) {
    if (!utf8) return CommandDataType::TEXT;
    const Text word = FromUtf8(utf8);
    if (EqualsIgnoreCase(word, u"RTF")) return CommandDataType::RTF;
    if (EqualsIgnoreCase(word, u"EXEC")) return CommandDataType::EXEC;
    return CommandDataType::TEXT;
}

const char* DataTypeName(CommandDataType type) {
    switch (type) {
        case CommandDataType::RTF: return "RTF";
        case CommandDataType::EXEC: return "EXEC";
        default: return "TEXT";
    }
}

void ReplaceAll(Text& text, std::u16string_view from, std::u16string_view to) {
    for (size_t at = text.find(from); at != Text::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

bool IsBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), IsXmlSpace);
}

void AddTextChild(TiXmlElement& root, const char* name, const Text& text) {
    TiXmlElement child(name);
    const std::string utf8 = ToUtf8(text);
    TiXmlText content(utf8);
    // The reader drops a text made of blanks alone; in a CDATA section it stays,
    // so that a title of blanks still reads as a title.
    if (!utf8.empty() && IsBlank(utf8)) content.SetCDATA(true);
    child.InsertEndChild(content);
    root.InsertEndChild(child);
}

std::string DateText(const platform::LocalTime& date) {
    return std::to_string(date.year) + "|" + std::to_string(date.month) + "|" +
           std::to_string(date.day) + "|" + std::to_string(date.hour) + "|" +
           std::to_string(date.minute) + "|" + std::to_string(date.second);
}

}  // namespace

Text DescribeReadOutcome(ReadOutcome outcome) {
    switch (outcome) {
        case ReadOutcome::Phrase: return u"read";
        case ReadOutcome::Unreadable: return u"cannot be read";
        case ReadOutcome::Empty: return u"is empty";
        case ReadOutcome::TooDeep: return u"is nested too deeply";
        case ReadOutcome::NotUtf8: return u"is not UTF-8 text";
        case ReadOutcome::NotXml: return u"is not XML";
        case ReadOutcome::NoRoot: return u"has no WLKCommand element";
        case ReadOutcome::NoMenuName: return u"has no MenuName";
    }
    return u"?";
}

Text UnescapeLeftovers(Text text) {
    ReplaceAll(text, u"&lt;", u"<");
    ReplaceAll(text, u"&gt;", u">");
    ReplaceAll(text, u"&quote;", u"\"");
    return text;
}

ReadOutcome ParseCommandXml(std::string_view bytes, CWLKCommand& node) {
    if (bytes.empty()) return ReadOutcome::Empty;
    // TinyXML reads up to the first NUL; a binary file simply stops there.
    bytes = bytes.substr(0, bytes.find('\0'));
    if (!IsUtf8(bytes)) return ReadOutcome::NotUtf8;

    std::string text = WithoutDeclaration(bytes);
    const std::optional<size_t> nesting = XmlNestingDepth(text);
    if (!nesting) return ReadOutcome::NotXml;
    if (*nesting > kMaxXmlNesting) return ReadOutcome::TooDeep;

    TiXmlDocument document;
    {
        // A margin of terminators, should the parser look ahead past the first one.
        text.append(8, '\0');
        TinyXmlWhiteSpace keep(false);
        document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    }
    if (document.Error()) return ReadOutcome::NotXml;
    const TiXmlElement* root = document.FirstChildElement("WLKCommand");
    if (!root) return ReadOutcome::NoRoot;

    node.SetIncluded(IntAttribute(*root, "Excluded") == 0);
    node.sortId = UnsignedAttribute(*root, "SortID");
    node.usageCount = std::max(0, IntAttribute(*root, "UsageCount"));
    if (const char* date = root->Attribute("DateUsage")) {
        const platform::LocalTime parsed = ParseDate(date);
        if (parsed.year != 0) node.SetDateUsage(parsed);
    }
    node.disabledIsNoHasSelection = IntAttribute(*root, "DisabledIsNoHasSelection") != 0;
    node.useTitleOnly = IntAttribute(*root, "UseTitleOnly") != 0;
    node.flagsMenu = UnsignedAttribute(*root, "FlagsMenu");

    const char* menuName = ChildText(*root, "MenuName");
    if (!menuName || !*menuName) return ReadOutcome::NoMenuName;
    node.name = TakeText(menuName, CWLKCommand::kNameMaxChars);
    node.dataType = ParseDataType(ChildText(*root, "DataType"));
    if (const char* body = ChildText(*root, "Cmd")) node.command = TakeText(body);
    if (const char* hint = ChildText(*root, "Hint")) {
        node.hint = TakeText(hint, CWLKCommand::kHintMaxChars);
    }
    return ReadOutcome::Phrase;
}

std::optional<std::string> BuildCommandXml(const CWLKCommand& node) {
    TiXmlDocument document;
    document.InsertEndChild(TiXmlDeclaration("1.0", "UTF-8", "yes"));

    TiXmlElement root("WLKCommand");
    if (!node.IsIncluded()) root.SetAttribute("Excluded", 1);
    root.SetAttribute("UsageCount", node.GetUsageCount());
    root.SetAttribute("DisabledIsNoHasSelection", node.IsDisabledWithoutSelection() ? 1 : 0);
    root.SetAttribute("UseTitleOnly", node.IsUseTitleOnly() ? 1 : 0);
    root.SetAttribute("SortID", std::to_string(node.sortId));
    root.SetAttribute("FlagsMenu", std::to_string(node.flagsMenu));
    if (!node.IsGroup() && node.HasDateUsage()) {
        root.SetAttribute("DateUsage", DateText(node.GetDateUsage()));
    }
    if (!node.IsGroup()) {
        AddTextChild(root, "MenuName", node.name);
        AddTextChild(root, "DataType", T(DataTypeName(node.dataType)));
        AddTextChild(root, "Cmd", node.command);
        AddTextChild(root, "Hint", node.hint);
    }
    if (!document.InsertEndChild(root)) return std::nullopt;

    // On the heap: GCC 12 at -O2 misreads the inlined short-string copy of a
    // printer on the stack as a read of uninitialised bytes.
    auto printer = std::make_unique<TiXmlPrinter>();
    printer->SetIndent("    ");
    printer->SetLineBreak("\r\n");
    if (!document.Accept(printer.get()) || printer->Size() == 0) return std::nullopt;
    return std::string(printer->CStr(), printer->Size());
}

}  // namespace wlk::phrases
