// The whole simulated platform: one of each simulated service, installable as
// the current platform.
#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_bitmap.h"
#include "platform/sim/sim_clipboard.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_input.h"
#include "platform/sim/sim_keyboard.h"
#include "platform/sim/sim_library.h"
#include "platform/sim/sim_locale.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shared_memory.h"
#include "platform/sim/sim_sync.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_target_facts.h"
#include "platform/sim/sim_threads.h"
#include "platform/sim/sim_ui.h"

namespace wlk::platform::sim {

struct SimPlatform {
    SimSync sync;
    SimFileSystem files;
    SimProfile profile{files};
    SimRegistry registry;
    SimSystem system;
    SimSharedMemory shared;
    SimUi ui;
    SimBitmaps bitmaps;
    SimClipboard clipboard;
    SimLibraries libraries;
    SimTargetFacts targets;
    SimInput input;
    SimKeyboard keyboard;
    SimLocale locale;
    // Last, so that its destructor waits for the threads before the rest goes.
    SimThreads threads;
    Platform platform{sync,   threads, profile, registry,  files,     system,
                      shared, ui,      bitmaps, clipboard, libraries, targets, input,
                      keyboard, locale};

    void Install() { platform::Install(&platform); }
};

}  // namespace wlk::platform::sim
