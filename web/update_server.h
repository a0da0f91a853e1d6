// Where the update check asks, and which links from its answer may be opened.
// Only https is trusted: an answer fetched over plain http could be changed on
// its way and point the user at anything.
#pragma once

#include "platform/types.h"

namespace wlk::web {

inline constexpr char16_t kDefaultUpdateServer[] = u"https://wordlark.orrinsoftworks.com";
inline constexpr char16_t kUpdatePath[] = u"/Source/update_wlk.php";

// The address to ask, or an empty url and the line that says why not.
struct UpdateUrl {
    Text url;
    Text refusal;
};

// The server setting gives scheme, host and an optional port (whatever
// follows them is ignored; empty means the default server). Only https is
// taken, and http to this computer (127.x.x.x, "localhost", "[::1]"), where
// nobody sits in between.
UpdateUrl MakeUpdateUrl(const Text& serverSetting, const Text& query);

// An "https://" link with a host and without blanks, control characters or a
// user name before the host: the only links the update window opens.
bool IsSafeLink(const Text& url);

}  // namespace wlk::web
