#include "bridge/web_search.h"

#include "bridge/shell_actions.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

const char16_t* EngineAddress(int engine) {
    switch (SearchEngine(engine)) {
        case SearchEngine::Google: return u"https://www.google.ru/search?q=";
        case SearchEngine::Yandex: return u"https://yandex.ru/yandsearch?text=";
        case SearchEngine::Msdn: return u"https://social.msdn.microsoft.com/Search/en-US?query=";
        case SearchEngine::Wikipedia: return u"https://ru.wikipedia.org/wiki/Special:Search?search=";
    }
    return nullptr;
}

// CR LF first, so that a pair becomes one blank, not two.
Text BlanksForLineBreaks(const Text& text) {
    Text out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        out += (text[i] == u'\r' || text[i] == u'\n') ? u' ' : text[i];
    }
    return out;
}

// Every byte but the unreserved characters as %XX; "%20" for a blank reads
// the same to every engine, where "+" would not survive in some paths.
Text PercentEncoded(const Text& text) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    Text out;
    for (unsigned char byte : ToUtf8(text)) {
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' ||
                                byte == '.' || byte == '~';
        if (unreserved) {
            out += char16_t(byte);
        } else {
            out += u'%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

}  // namespace

std::optional<Text> SearchAddress(const Text& text, int engine) {
    const char16_t* address = EngineAddress(engine);
    if (!address) return std::nullopt;
    return Text(address) + PercentEncoded(BlanksForLineBreaks(text));
}

void WebSearch(const Text& text, int engine, platform::WindowId owner) {
    if (auto address = SearchAddress(text, engine)) OpenUrl(*address, true, owner);
}

}  // namespace wlk::bridge
