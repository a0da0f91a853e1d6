#include "settings/shared_settings_area.h"

#include <tinyxml.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/text.h"
#include "platform/xml_guard.h"

namespace wlk::settings {

namespace {

constexpr char kRootName[] = "WordlarkSettings";
constexpr char kSelTextName[] = "SelText";

// The document before the area's first zero byte, when it is UTF-8: TinyXML
// steps over a character by the length its lead byte claims, so a cut-off one
// would take it past the text. Within the area's size, TinyXML can neither
// nest deep enough nor meet attributes enough to matter.
std::optional<std::string> Document(std::string_view area) {
    area = area.substr(0, kSharedSettingsAreaSize);
    const size_t end = area.find('\0');
    if (end == std::string_view::npos || !IsUtf8(area.substr(0, end))) return std::nullopt;
    return std::string(area.substr(0, end));
}

// TinyXML's printer passes "&#x" on as if it began a character reference, so
// a selection holding "&#x41;" would be read back as "A": the text is escaped
// here, each character for itself, as the printer does otherwise.
std::string EscapedText(const std::string& utf8) {
    std::string out;
    for (const char c : utf8) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (static_cast<unsigned char>(c) < 32) {
                    char reference[8];
                    std::snprintf(reference, sizeof reference, "&#x%02X;", unsigned(c));
                    out += reference;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace

std::string SharedSettingsXml(int key, int modifiers, bool doubled, const Text& selText) {
    TiXmlElement root(kRootName);
    root.SetAttribute("HotKey_Key", key);
    root.SetAttribute("HotKey_Mod", modifiers);
    root.SetAttribute("Double", doubled ? 1 : 0);
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\r\n");
    root.Accept(&printer);
    std::string xml = printer.Str();  // the empty element: <WordlarkSettings ... />
    if (selText.empty()) return xml;
    xml.resize(xml.rfind(" />"));
    return xml + ">\r\n    <" + kSelTextName + ">" + EscapedText(ToUtf8(selText)) + "</" +
           kSelTextName + ">\r\n</" + kRootName + ">\r\n";
}

std::optional<Text> ParseSharedSelectedText(std::string_view area) {
    std::optional<std::string> text = Document(area);
    if (!text) return std::nullopt;
    // A margin of terminators, should the parser look ahead past the first one.
    text->append(8, '\0');
    TiXmlDocument document;
    {
        // The selection keeps its blanks, leading and trailing ones included.
        TinyXmlWhiteSpace keep(false);
        document.Parse(text->c_str(), nullptr, TIXML_ENCODING_UTF8);
    }
    const TiXmlElement* root = document.RootElement();
    if (document.Error() || !root || root->ValueStr() != kRootName) return std::nullopt;
    const TiXmlElement* selText = root->FirstChildElement(kSelTextName);
    if (!selText) return std::nullopt;
    const char* utf8 = selText->GetText();
    const Text selection = utf8 ? FromUtf8(utf8) : Text();
    // TinyXML drops a text of blanks alone (its blanks are C's isspace, vertical
    // tab and form feed included) when it reads it back: such a selection is
    // read as none, the same on every reading. A "&#;" reads as a zero, where
    // the text ends.
    return selection.find_first_not_of(u" \t\n\v\f\r") == Text::npos ? Text() : selection;
}

std::optional<Text> ReadSharedSelectedText() {
    auto area = platform::Current().shared.Open(kSharedSettingsAreaName, kSharedSettingsAreaSize);
    if (!area) return std::nullopt;
    // The read stops before the zero byte that the parser looks for.
    const std::optional<std::string> text = area->ReadText();
    return text ? ParseSharedSelectedText(*text + '\0') : std::nullopt;
}

SharedSettingsArea& SharedSettingsArea::Instance() {
    // Never destroyed: worker threads may still use it while the process ends.
    static SharedSettingsArea& area = *new SharedSettingsArea;
    return area;
}

bool SharedSettingsArea::Publish(int key, int modifiers, bool doubled, const Text& selText) {
    if (!area_) {
        area_ = platform::Current().shared.Create(kSharedSettingsAreaName, kSharedSettingsAreaSize,
                                                  platform::Security::Everyone);
    }
    return area_ && area_->WriteText(SharedSettingsXml(key, modifiers, doubled, selText));
}

}  // namespace wlk::settings
