#include "web/update_query.h"

#include <string>
#include <utility>

#include "platform/text.h"

namespace wlk::web {

namespace {

bool IsUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~';
}

Text Bracketed(const Text& value) {
    return u"[" + value + u"]";
}

Text Joined(const std::vector<int>& numbers) {
    Text text;
    for (size_t i = 0; i < numbers.size(); ++i) text += (i ? u"," : u"") + ToText(numbers[i]);
    return text;
}

Text HotkeyValue(const InstallationFacts& facts) {
    return ToUpper(facts.hotkey) + (facts.hotkeyDoubled ? u"x2" : u"");
}

// The pairs in the order the web site reads them.
std::vector<std::pair<const char16_t*, Text>> QueryPairs(const InstallationFacts& facts) {
    std::vector<std::pair<const char16_t*, Text>> pairs = {
        {u"wlk_version", facts.version},
        {u"winver", facts.winver},
        {u"sounds", facts.sounds ? u"1" : u"0"},
        {u"version_installed", facts.installed ? u"1" : u"0"},
        {u"hotkey", HotkeyValue(facts)},
        {u"au", facts.autoCheck ? ToText(facts.days) : u"disabled"},
        {u"LangFile", Bracketed(facts.langFile)},
        {u"languages", facts.languages},
        {u"country", facts.country},
        {u"domain", facts.domain},
        {u"RAM", facts.ram},
        {u"screen", facts.screen},
        {u"MFC", facts.mfc},
    };
    if (!facts.skippedVersions.empty())
        pairs.emplace_back(u"SkippedVersion", Bracketed(Joined(facts.skippedVersions)));
    return pairs;
}

// Every character but A-Z a-z 0-9 - _ . ~ as %XX of its UTF-8 bytes.
Text EscapeQueryValue(const Text& value) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    Text out;
    for (const char c : ToUtf8(value)) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(c)) {
            out += char16_t(byte);
        } else {
            out += {u'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return out;
}

}  // namespace

Text BuildUpdateQuery(const InstallationFacts& facts) {
    Text query = u"?";
    for (const auto& [key, value] : QueryPairs(facts)) {
        Text blanked = value;
        for (char16_t& c : blanked)
            if (c == u' ') c = u'_';
        query += (query.size() > 1 ? u"&" : u"") + Text(key) + u"=" + EscapeQueryValue(blanked);
    }
    return query;
}

}  // namespace wlk::web
