#include "platform/win32/win32_platform.h"

#include "platform/platform.h"
#include "platform/win32/win32_bitmap.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shared_memory.h"
#include "platform/win32/win32_sync.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_target_facts.h"
#include "platform/win32/win32_threads.h"
#include "platform/win32/win32_ui.h"

namespace wlk::platform::win32 {

void InstallWin32Platform() {
    // The process-wide services, made on first call and never destroyed:
    // worker threads may still use them while the process ends.
    static Platform* platform = new Platform{
        *new Win32Sync,       *new Win32Threads,   *new Win32Profile,      *new Win32Registry,
        *new Win32FileSystem, *new Win32System,    *new Win32SharedMemory, *new Win32Ui,
        *new Win32Bitmaps,    *new Win32Clipboard, *new Win32Libraries,    *new Win32TargetFacts,
        *new Win32Input,      *new Win32Keyboard, *new Win32Locale};
    Install(platform);
}

}  // namespace wlk::platform::win32
