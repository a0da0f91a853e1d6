// Parts of the program that want to hear about a language or session change
// register here; a broadcast reaches every listener but its sender.
#pragma once

#include <mutex>
#include <vector>

namespace wlk::app {

// Codes of a broadcast: (0, 0) after the interface language changed, (1, reason)
// after a session change.
inline constexpr int kLanguageChanged = 0;
inline constexpr int kSessionChanged = 1;

class IChangeListener {
public:
    virtual ~IChangeListener() = default;
    virtual void OnChange(int code, int detail) = 0;
};

class ChangeListeners {
public:
    static ChangeListeners& Instance();
    void Add(IChangeListener* listener);
    void Remove(IChangeListener* listener);
    void Broadcast(int code, int detail, const IChangeListener* sender = nullptr);

private:
    std::mutex mutex_;
    std::vector<IChangeListener*> listeners_;
};

}  // namespace wlk::app
