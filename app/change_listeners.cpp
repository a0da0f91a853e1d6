#include "app/change_listeners.h"

#include <algorithm>

namespace wlk::app {

ChangeListeners& ChangeListeners::Instance() {
    // Never destroyed: listeners may still unregister while the process ends.
    static ChangeListeners& listeners = *new ChangeListeners;
    return listeners;
}

void ChangeListeners::Add(IChangeListener* listener) {
    std::lock_guard lock(mutex_);
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void ChangeListeners::Remove(IChangeListener* listener) {
    std::lock_guard lock(mutex_);
    std::erase(listeners_, listener);
}

void ChangeListeners::Broadcast(int code, int detail, const IChangeListener* sender) {
    std::vector<IChangeListener*> receivers;
    {
        // Called outside the lock, so that a listener may unregister itself.
        std::lock_guard lock(mutex_);
        receivers = listeners_;
    }
    for (auto* listener : receivers)
        if (listener != sender) listener->OnChange(code, detail);
}

}  // namespace wlk::app
