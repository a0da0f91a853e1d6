#include "app/tray_texts.h"

#include "language/interface_strings.h"
#include "platform/text.h"

namespace wlk::app {

using language::GetString;

namespace {

Text StateWord(bool servicesOn) {
    return ToUpper(GetString(servicesOn ? 275 : 276));
}

}  // namespace

Text TrayTooltip(const TrayFacts& facts) {
    constexpr size_t kTooltipChars = 126;
    Text text = u"Wordlark";
    if (facts.admin) text += u"^";
    text += u" - " + StateWord(facts.servicesOn);
    text += u"\r\n" + GetString(132) + u": " + facts.hotkeyText;
    text += u"\r\n" + GetString(148);
    text += u"\r\n" + GetString(220) + u": " + facts.phrasesFolder;
    return text.substr(0, kTooltipChars);
}

Text TrayCaption(bool servicesOn) {
    return u"Wordlark - " + StateWord(servicesOn);
}

Text HotkeyBalloon(const Text& hotkeyText) {
    return GetString(1060) + u" - " + hotkeyText + u"\n" + GetString(231) + u"\u2026";
}

}  // namespace wlk::app
