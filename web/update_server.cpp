#include "web/update_server.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/text.h"

namespace wlk::web {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsHostChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || IsDigit(c) || c == u'-' || c == u'.';
}

bool IsIpv6Char(char16_t c) {
    return (c >= u'a' && c <= u'f') || IsDigit(c) || c == u':' || c == u'.';
}

// Blanks and invisible characters make a link read differently from where
// it leads; control characters may end it early on its way to the browser.
bool IsBlankOrControl(char16_t c) {
    return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) || c == 0x3000 ||
           c == 0xFEFF;
}

// What follows "scheme://" up to the path; a backslash ends it too, as
// browsers and WinInet read it as a slash.
std::u16string_view AuthorityOf(std::u16string_view rest) {
    return rest.substr(0, rest.find_first_of(u"/?#\\"));
}

bool IsPort(std::u16string_view port) {
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), IsDigit))
        return false;
    const long long value = ParseInt(port).value_or(0);
    return value >= 1 && value <= 65535;
}

// The host of "host", "host:port", "[v6]" or "[v6]:port" (lower case), or
// nothing when the authority is not one of those.
std::optional<std::u16string_view> HostOf(std::u16string_view authority) {
    size_t hostEnd = authority.find(u':');
    if (authority.starts_with(u'[')) {
        hostEnd = authority.find(u']');
        if (hostEnd == std::u16string_view::npos || hostEnd == 1) return std::nullopt;
        if (!std::all_of(authority.begin() + 1, authority.begin() + hostEnd, IsIpv6Char))
            return std::nullopt;
        ++hostEnd;
    } else {
        const std::u16string_view name = authority.substr(0, hostEnd);
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsHostChar)) return std::nullopt;
    }
    const std::u16string_view rest = authority.substr(std::min(hostEnd, authority.size()));
    if (!rest.empty() && !(rest[0] == u':' && IsPort(rest.substr(1)))) return std::nullopt;
    return authority.substr(0, hostEnd);
}

// Four decimal parts, the first "127" as written: the system's address
// parser reads "0127" as octal, another computer.
bool IsLoopbackIpv4(std::u16string_view host) {
    int parts = 0;
    for (size_t start = 0; start != std::u16string_view::npos; ++parts) {
        const size_t dot = host.find(u'.', start);
        const std::u16string_view part = host.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || !std::all_of(part.begin(), part.end(), IsDigit) ||
            ParseInt(part).value_or(0) > 255 || (parts == 0 && part != u"127"))
            return false;
        start = dot == std::u16string_view::npos ? dot : dot + 1;
    }
    return parts == 4;
}

bool IsLoopback(std::u16string_view host) {
    return host == u"localhost" || host == u"[::1]" || IsLoopbackIpv4(host);
}

UpdateUrl Refused(const char16_t* reason, const Text& setting) {
    return {Text(), Text(u"Update server refused, ") + reason + u": [" + setting + u"]"};
}

}  // namespace

UpdateUrl MakeUpdateUrl(const Text& serverSetting, const Text& query) {
    const Text setting = Trim(serverSetting);
    if (setting.empty()) return {Text(kDefaultUpdateServer) + kUpdatePath + query, Text()};
    const size_t schemeEnd = setting.find(u"://");
    if (schemeEnd == Text::npos)
        return Refused(u"it is not an address like https://host:port", serverSetting);
    const Text scheme = ToLower(setting.substr(0, schemeEnd));
    const Text authority = ToLower(AuthorityOf(std::u16string_view(setting).substr(schemeEnd + 3)));
    if (authority.find(u'@') != Text::npos)
        return Refused(u"a user name in the address is not allowed", serverSetting);
    const std::optional<std::u16string_view> host = HostOf(authority);
    if (!host) return Refused(u"it is not an address like https://host:port", serverSetting);
    if (scheme != u"https" && !(scheme == u"http" && IsLoopback(*host)))
        return Refused(u"only https is allowed (http only to this computer)", serverSetting);
    return {scheme + u"://" + authority + kUpdatePath + query, Text()};
}

bool IsSafeLink(const Text& url) {
    if (!StartsWithIgnoreCase(url, u"https://")) return false;
    if (std::any_of(url.begin(), url.end(), IsBlankOrControl)) return false;
    const std::u16string_view authority = AuthorityOf(std::u16string_view(url).substr(8));
    return !authority.empty() && authority[0] != u':' && authority.find(u'@') == authority.npos;
}

}  // namespace wlk::web
