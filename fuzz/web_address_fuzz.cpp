// Copied text of any kind, read as an address to open and as a search query:
// an accepted address is a web address without blanks, the shell sees nothing
// else, and a query's address decodes back to the text with blanks for breaks.
//
// Input: UTF-16 text as little-endian byte pairs (a last odd byte is dropped).
#include <cstdint>
#include <string>

#include "bridge/web_address.h"
#include "bridge/web_search.h"
#include "fuzz/fuzz_support.h"
#include "platform/text.h"

namespace wlk::fuzz {

namespace {

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Only unreserved characters and %XX escapes, undone.
std::string Decoded(std::u16string_view query) {
    std::string bytes;
    for (size_t i = 0; i < query.size(); ++i) {
        if (query[i] != u'%') {
            Require(query[i] < 0x80 && query[i] > u' ');
            bytes += char(query[i]);
            continue;
        }
        Require(i + 2 < query.size());
        const int high = HexValue(query[i + 1]), low = HexValue(query[i + 2]);
        Require(high >= 0 && low >= 0);
        bytes += char(high * 16 + low);
        i += 2;
    }
    return bytes;
}

Text Text16(const std::string& bytes) {
    Text text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
    return text;
}

}  // namespace

void FuzzOne(const std::string& bytes) {
    auto& sim = Sim();
    const Text text = Text16(bytes);

    // A log kept over every run would make each run slower than the last.
    sim.ui.ClearShellCalls();
    const auto address = bridge::WebAddressOf(text);
    Require(bridge::OpenTextAsUrl(text, 1) == address.has_value());
    const auto shellCalls = sim.ui.ShellCalls();
    Require(shellCalls.size() == (address ? 1u : 0u));
    if (address) {
        Require(shellCalls.back().file == *address);
        Require(Trim(text) == *address);
        for (char16_t c : *address) Require(c > u' ' && c != 0x7F);
        Require(StartsWithIgnoreCase(*address, u"http://") ||
                StartsWithIgnoreCase(*address, u"https://") ||
                StartsWithIgnoreCase(*address, u"ftp://") ||
                StartsWithIgnoreCase(*address, u"mailto:"));
    }

    const Text prefix = u"https://www.google.ru/search?q=";
    const auto search = bridge::SearchAddress(text, 4);
    Require(search && search->starts_with(prefix));
    Text blanked = text;
    for (size_t at = blanked.find(u"\r\n"); at != Text::npos; at = blanked.find(u"\r\n", at))
        blanked.replace(at, 2, u" ");
    for (char16_t& c : blanked)
        if (c == u'\r' || c == u'\n') c = u' ';
    Require(Decoded(std::u16string_view(*search).substr(prefix.size())) == ToUtf8(blanked));
}

}  // namespace wlk::fuzz
