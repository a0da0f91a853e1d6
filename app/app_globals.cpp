#include "app/app_globals.h"

namespace wlk::app {

AppGlobals& Globals() {
    static AppGlobals globals;
    return globals;
}

}  // namespace wlk::app
