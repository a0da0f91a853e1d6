// Whether the user's input goes to this program's desktop: not while the lock
// screen or an elevation prompt (the secure desktop) is in front.
#pragma once

namespace wlk::app {

bool InputDesktopIsActive();

}  // namespace wlk::app
