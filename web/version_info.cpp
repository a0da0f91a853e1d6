#include "web/version_info.h"

#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/text.h"
#include "platform/xml_guard.h"

namespace wlk::web {

namespace {

// The text as TinyXML may safely be given it: it reads up to the first zero
// byte, steps over a character by the length its lead byte claims and parses
// nested elements recursively, so a cut-off character or deep nesting from a
// hostile server would take it past the text or the stack.
std::optional<std::string> GuardedText(std::string_view bytes) {
    if (bytes.size() > kMaxVersionDocumentBytes) return std::nullopt;
    bytes = bytes.substr(0, bytes.find('\0'));
    if (!IsUtf8(bytes)) return std::nullopt;
    std::string text = WithoutDeclaration(bytes);
    const std::optional<size_t> nesting = XmlNestingDepth(text);
    if (!nesting || *nesting > kMaxXmlNesting) return std::nullopt;
    // A margin of terminators, should the parser look ahead past the first one.
    text.append(8, '\0');
    return text;
}

Text ChildText(const TiXmlElement& root, const char* name) {
    const TiXmlElement* child = root.FirstChildElement(name);
    const char* text = child ? child->GetText() : nullptr;
    return text ? FromUtf8(text) : Text();
}

int PartValue(std::u16string_view part) {
    const long long value = ParseInt(part).value_or(0);
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

std::optional<VersionInfo> ParseVersionInfo(std::string_view utf8, bool testMarker) {
    const std::optional<std::string> text = GuardedText(utf8);
    if (!text) return std::nullopt;
    TiXmlDocument document;
    {
        TinyXmlWhiteSpace condensed(true);
        document.Parse(text->c_str(), nullptr, TIXML_ENCODING_UTF8);
    }
    const TiXmlElement* root = document.RootElement();
    if (document.Error() || !root || root->ValueStr() != "WordlarkVersionInfo") return std::nullopt;
    VersionInfo info;
    info.version = ChildText(*root, testMarker ? "Version_Test" : "Version");
    info.status = ChildText(*root, "Status");
    info.downloadUrl = ChildText(*root, "DownloadURL");
    info.portableUrl = ChildText(*root, "DownloadURL_PE");
    info.whatsNewUrl = ChildText(*root, "WhatNewsURL");
    return info;
}

std::vector<int> SplitVersion(const Text& dotted) {
    const std::u16string_view text(dotted);
    std::vector<int> parts;
    for (size_t start = 0;;) {
        const size_t dot = text.find(u'.', start);
        parts.push_back(PartValue(text.substr(start, dot - start)));
        if (dot == std::u16string_view::npos) return parts;
        start = dot + 1;
    }
}

bool IsNewer(const std::vector<int>& web, const std::vector<int>& own) {
    const auto part = [](const std::vector<int>& parts, size_t i) {
        return i < parts.size() ? parts[i] : 0;
    };
    for (size_t i = 0; i < std::max(web.size(), own.size()); ++i) {
        if (part(web, i) != part(own, i)) return part(web, i) > part(own, i);
    }
    return false;
}

// The first four parts as a*1000000 + b*10000 + c*100 + d. Each later part
// has two decimal places of its own, so it is clamped to 0..99 lest it run
// into its neighbour; the first is clamped to 0..2146 so that the number
// stays an int, as the settings keep it. Parts after the fourth are left
// out: versions that differ only there share a number.
int VersionNumber(const std::vector<int>& parts) {
    const auto part = [&parts](size_t i, int most) {
        return i < parts.size() ? std::clamp(parts[i], 0, most) : 0;
    };
    return part(0, 2146) * 1'000'000 + part(1, 99) * 10'000 + part(2, 99) * 100 + part(3, 99);
}

bool IsSkipped(const Text& webVersion, const std::vector<int>& skipped) {
    if (Trim(webVersion).empty()) return false;
    const int number = VersionNumber(SplitVersion(webVersion));
    return std::find(skipped.begin(), skipped.end(), number) != skipped.end();
}

}  // namespace wlk::web
