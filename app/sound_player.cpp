#include "app/sound_player.h"

#include "platform/platform.h"
#include "settings/program_location.h"

namespace wlk::app {

const char16_t* SoundFileName(Sound sound) {
    static const char16_t* const kFiles[] = {
        u"kbd.wav",   u"launch.wav",         u"paper.wav",       u"menu.wav",
        u"start.wav", u"start_as_admin.wav", u"already_work.wav"};
    return kFiles[static_cast<int>(sound)];
}

void SoundPlayer::Play(Sound sound) {
    if (!settings_.Get(settings::IntSetting::SoundOnEvents)) return;
    // A thread that is playing takes the new sound when it is through.
    if (pending_->exchange(static_cast<int>(sound)) != -1) return;
    auto& p = platform::Current();
    const bool started =
        p.threads.Start([&p, pending = pending_, folder = settings::ProgramFolder()] {
            int number = pending->load();
            do {
                p.ui.PlaySound(folder + SoundFileName(Sound(number)));
                // Ends unless another sound was asked for meanwhile.
            } while (!pending->compare_exchange_strong(number, -1));
        });
    if (!started) pending_->store(-1);
}

}  // namespace wlk::app
