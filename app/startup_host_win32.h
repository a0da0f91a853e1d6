// The Windows side of the start-up: COM, OLE, the common controls and the
// main window's message loop.
#pragma once

#include <windows.h>

#include "app/startup.h"

namespace wlk::app {

class Win32StartupHost : public StartupHost {
public:
    explicit Win32StartupHost(HINSTANCE instance) : instance_(instance) {}
    void InitializeRuntime() override;
    void InitializeModule() override;
    int RunMain(platform::Event& instanceEvent, bool noinstall,
                const CommandLineOptions& options) override;
    void TerminateRuntime() override;

private:
    HINSTANCE instance_;
    DWORD mainThreadId_ = 0;
};

}  // namespace wlk::app
