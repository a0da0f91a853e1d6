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

bool SoundPlayer::Start(std::shared_ptr<platform::Event> instanceEvent) {
    auto& p = platform::Current();
    request_ = p.sync.CreateEvent(Text(), true, false, platform::Security::Default);
    if (!request_ || !instanceEvent) return false;
    return p.threads.Start([&p, instanceEvent, request = request_, pending = pending_,
                            folder = settings::ProgramFolder()] {
        platform::Event* events[] = {instanceEvent.get(), request.get()};
        while (p.sync.WaitAny(events, platform::kInfinite) == platform::kWaitObject0 + 1) {
            request->Reset();
            int number = pending->exchange(-1);
            if (number >= 0) p.ui.PlaySound(folder + SoundFileName(Sound(number)));
        }
    });
}

void SoundPlayer::Play(Sound sound) {
    if (!request_ || !settings_.Get(settings::IntSetting::SoundOnEvents)) return;
    pending_->exchange(static_cast<int>(sound));
    request_->Set();
}

}  // namespace wlk::app
