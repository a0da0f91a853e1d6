// The one process-wide set of platform services. The program installs the
// real Win32 one at start; native tests install the simulated one.
#pragma once

#include "platform/bitmap.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/keyboard.h"
#include "platform/library.h"
#include "platform/locale.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shared_memory.h"
#include "platform/sync.h"
#include "platform/system.h"
#include "platform/target_facts.h"
#include "platform/threads.h"
#include "platform/ui.h"

namespace wlk::platform {

struct Platform {
    Sync& sync;
    Threads& threads;
    Profile& profile;
    Registry& registry;
    FileSystem& files;
    System& system;
    SharedMemory& shared;
    Ui& ui;
    Bitmaps& bitmaps;
    Clipboard& clipboard;
    Libraries& libraries;
    TargetFacts& targets;
    Input& input;
    Keyboard& keyboard;
    Locale& locale;
};

// The installed platform; installing replaces the previous one.
Platform& Current();
void Install(Platform* platform);

}  // namespace wlk::platform
