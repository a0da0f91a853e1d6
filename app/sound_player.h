// The event sounds, played one at a time by a thread of their own so that a
// slow sound never holds up the window; the thread lives only while there are
// sounds to play. A quick second request replaces a first one that has not
// started yet.
#pragma once

#include <atomic>
#include <memory>

#include "platform/types.h"
#include "settings/settings.h"

namespace wlk::app {

enum class Sound {
    Inserted = 0,        // "kbd.wav"
    Launched = 1,        // "launch.wav"
    HistoryAdded = 2,    // "paper.wav"
    HotkeyAccepted = 3,  // "menu.wav"
    Started = 4,         // "start.wav"
    StartedAsAdmin = 5,  // "start_as_admin.wav"
    AlreadyWorks = 6,    // "already_work.wav"
};

const char16_t* SoundFileName(Sound sound);

class SoundPlayer {
public:
    explicit SoundPlayer(const settings::Settings& settings) : settings_(settings) {}
    // Plays the sound from the program's folder when "SoundOnEventsV094" is on.
    void Play(Sound sound);

private:
    const settings::Settings& settings_;
    // The sound asked for and not yet started; -1 while no thread plays.
    std::shared_ptr<std::atomic<int>> pending_ = std::make_shared<std::atomic<int>>(-1);
};

}  // namespace wlk::app
