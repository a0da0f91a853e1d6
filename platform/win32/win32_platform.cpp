#include "platform/win32/win32_platform.h"

#include "platform/platform.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shared_memory.h"
#include "platform/win32/win32_sync.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_threads.h"
#include "platform/win32/win32_ui.h"

namespace wlk::platform::win32 {

void InstallWin32Platform() {
    // The process-wide services, made on first call. They keep nothing but
    // what the system keeps for them, so every thread shares the one set.
    static Win32Sync sync;
    static Win32Threads threads;
    static Win32Profile profile;
    static Win32Registry registry;
    static Win32FileSystem files;
    static Win32System system;
    static Win32SharedMemory shared;
    static Win32Ui ui;
    static Platform platform{sync, threads, profile, registry, files, system, shared, ui};
    Install(&platform);
}

}  // namespace wlk::platform::win32
