#include "app/app_globals.h"

namespace wlk::app {

AppGlobals& Globals() {
    // Never destroyed: worker threads may still use it while the process ends.
    static AppGlobals& globals = *new AppGlobals;
    return globals;
}

}  // namespace wlk::app
