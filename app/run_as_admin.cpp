#include "app/run_as_admin.h"

#include "app/app_globals.h"
#include "app/instance_control.h"
#include "platform/platform.h"
#include "settings/program_location.h"

namespace wlk::app {

bool RunAsAdministrator(platform::WindowId trayWindow,
                        const std::function<void()>& closeTrayWindow) {
    auto& p = platform::Current();
    auto handOver =
        p.sync.CreateEvent(kAdminHandOverEventName, true, false, platform::Security::Default);
    if (!handOver) {
        p.ui.MessageBox(platform::MessageOwner::None, u"Cannot create event for admin instance",
                        u"Wordlark", platform::MessageIcon::Error, true);
        return false;
    }
    intptr_t result = p.ui.ShellExecute(trayWindow, u"runas", p.system.ProgramPath(), u"/asadmin",
                                        settings::ProgramFolder());
    if (result > 32) {
        // Set when this instance has ended, which releases the elevated one.
        Globals().adminHandOver = std::move(handOver);
        closeTrayWindow();
        return true;
    }
    handOver->Set();
    handOver.reset();
    p.ui.MessageBox(platform::MessageOwner::None, u"Cannot start second instance of Wordlark",
                    u"Wordlark", platform::MessageIcon::Warning, true);
    return false;
}

}  // namespace wlk::app
