#include "app/tray_commands.h"

namespace wlk::app {

std::optional<Text> WebPageOf(uint32_t commandId) {
    switch (commandId) {
        case kCmdVisitWebSite: return u"";
        case kCmdVisitQuickStart: return u"quick-start";
        case kCmdVisitForum: return u"forum";
        case kCmdVisitFaq: return u"faq";
        case kCmdRssFeed: return u"news.rss";
        case kCmdVideo: return u"video";
        case kCmdFacebookGroup: return u"community";
        case kCmdSupport: return u"support";
        case kCmdHowToLocalize: return u"localize";
        default: return std::nullopt;
    }
}

}  // namespace wlk::app
