#include "bridge/web_address.h"

#include <array>
#include <string_view>

#include "bridge/shell_actions.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

constexpr uint32_t kSimpleBeep = 0xFFFFFFFF;
constexpr size_t kLoggedChars = 100;

// The part after each prefix must not be empty; for the first three it is the host.
constexpr std::array<std::u16string_view, 4> kSchemes{u"http://", u"https://", u"ftp://",
                                                      u"mailto:"};

bool HasBlankOrControl(std::u16string_view text) {
    for (char16_t c : text)
        if (c <= u' ' || c == 0x7F) return true;
    return false;
}

}  // namespace

std::optional<Text> WebAddressOf(const Text& text) {
    Text address = Trim(text);
    if (HasBlankOrControl(address)) return std::nullopt;
    for (std::u16string_view scheme : kSchemes) {
        if (!StartsWithIgnoreCase(address, scheme)) continue;
        const std::u16string_view rest = std::u16string_view(address).substr(scheme.size());
        // "http:///path" names no host; "\\" would let the shell read a share.
        if (rest.empty() || rest.front() == u'/' || rest.find(u'\\') != rest.npos)
            return std::nullopt;
        return address;
    }
    return std::nullopt;
}

bool OpenTextAsUrl(const Text& text, platform::WindowId owner) {
    if (auto address = WebAddressOf(text)) return OpenUrl(*address, true, owner);
    log::EventLog::Instance().Write(u"Not a web address, not opened: [" +
                                    text.substr(0, kLoggedChars) + u"]");
    platform::Current().ui.MessageBeep(kSimpleBeep);
    return false;
}

}  // namespace wlk::bridge
