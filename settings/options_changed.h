// "Local\Wordlark_OptionsChanged": set after this program saved its settings,
// so that the product's other processes reread them. Open to Everyone, as
// those processes must open it.
#pragma once

#include <memory>

#include "platform/sync.h"

namespace wlk::settings {

inline constexpr char16_t kOptionsChangedEventName[] = u"Local\\Wordlark_OptionsChanged";

class OptionsChangedEvent {
public:
    static OptionsChangedEvent& Instance();
    bool Create();
    void Close() { event_.reset(); }
    // Sets the event from a short-lived thread 1 ms from now.
    void Notify();

private:
    std::shared_ptr<platform::Event> event_;
};

}  // namespace wlk::settings
