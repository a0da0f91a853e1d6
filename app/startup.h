// The program's start: command line, instance control, automode wait, the
// hand-over to an elevated instance, then the tray window's message loop.
#pragma once

#include "app/command_line.h"
#include "platform/sync.h"
#include "settings/settings.h"

namespace wlk::app {

// Exit codes of the entry point besides the message loop's own.
inline constexpr int kExitAutomodeReleased = 12;
inline constexpr int kExitHandedOver = 0;
inline constexpr int kExitOtherInstance = 1;
inline constexpr int kExitNoInstanceEvent = 2;

// What the start-up needs from the windowing side of the program.
class StartupHost {
public:
    virtual ~StartupHost() = default;
    // COM, DefWindowProcW warm-up and the common controls.
    virtual void InitializeRuntime() = 0;
    // The application module and OLE.
    virtual void InitializeModule() = 0;
    // Creates the tray window and runs the message loop; returns the loop's
    // exit code, or 0 when the window cannot be created.
    virtual int RunMain(platform::Event& instanceEvent, bool noinstall,
                        const CommandLineOptions& options) = 0;
    virtual void TerminateRuntime() = 0;
};

// The whole start-up; returns the process exit code.
int RunStartup(const Text& commandLine, settings::Settings& settings, StartupHost& host);

}  // namespace wlk::app
