#include "platform/sim/sim_ui.h"

#include <cstdio>

#include "platform/text.h"

namespace wlk::platform::sim {

uint32_t SimUi::RegisterMessage(const Text& name) {
    std::lock_guard lock(mutex_);
    auto [it, added] = registered_.emplace(ToLower(name), 0xC000 + uint32_t(registered_.size()));
    return it->second;
}

intptr_t SimUi::SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SimMessage m{window, message, wParam, lParam, false};
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(m);
    }
    return onMessage ? onMessage(m) : 0;
}

std::optional<intptr_t> SimUi::SendMessageTimeout(WindowId window, uint32_t message,
                                                  uintptr_t wParam, intptr_t lParam, uint32_t) {
    {
        std::lock_guard lock(mutex_);
        if (hungWindows.count(window)) return std::nullopt;
    }
    return SendMessage(window, message, wParam, lParam);
}

bool SimUi::PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SimMessage m{window, message, wParam, lParam, true};
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(m);
    }
    if (onMessage) onMessage(m);
    return true;
}

bool SimUi::BroadcastSystemMessage(uint32_t flags, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) {
    std::lock_guard lock(mutex_);
    broadcasts_.push_back({flags, message, wParam, lParam});
    return true;
}

std::vector<SimBroadcast> SimUi::Broadcasts() {
    std::lock_guard lock(mutex_);
    return broadcasts_;
}

bool SimUi::SetTimer(WindowId window, uintptr_t id, uint32_t periodMs) {
    std::lock_guard lock(mutex_);
    timers_[{window, id}] = periodMs;
    return true;
}

void SimUi::KillTimer(WindowId window, uintptr_t id) {
    std::lock_guard lock(mutex_);
    timers_.erase({window, id});
}

std::optional<uint32_t> SimUi::TimerPeriod(WindowId window, uintptr_t id) {
    std::lock_guard lock(mutex_);
    auto it = timers_.find({window, id});
    if (it == timers_.end()) return std::nullopt;
    return it->second;
}

void SimUi::MessageBox(MessageOwner owner, const Text& text, const Text& caption, MessageIcon icon,
                       bool topmost) {
    std::lock_guard lock(mutex_);
    boxes_.push_back({owner, text, caption, icon, topmost, 0});
}

void SimUi::MessageBoxOwned(WindowId owner, const Text& text, const Text& caption,
                            MessageIcon icon) {
    std::lock_guard lock(mutex_);
    boxes_.push_back({MessageOwner::None, text, caption, icon, false, owner});
}

void SimUi::MessageBeep(uint32_t type) {
    std::lock_guard lock(mutex_);
    beeps_.push_back(type);
}

namespace {

std::string Hex(uint64_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace

bool SimUi::AttachThreadInput(uint32_t from, uint32_t to, bool attach) {
    std::lock_guard lock(mutex_);
    // Windows refuses a thread attached to itself, and a thread that is gone.
    if (from == to || to == 0 || unattachable.count(to)) return false;
    focusCalls_.push_back((attach ? "attach " : "detach ") + Hex(from) + " " + Hex(to));
    return true;
}

void SimUi::SetFocus(WindowId window) {
    std::lock_guard lock(mutex_);
    focusCalls_.push_back("focus " + Hex(window));
}

bool SimUi::SetForegroundWindow(WindowId window) {
    std::lock_guard lock(mutex_);
    focusCalls_.push_back("foreground " + Hex(window));
    return true;
}

std::vector<SimFocusCall> SimUi::FocusCalls() {
    std::lock_guard lock(mutex_);
    return focusCalls_;
}

std::vector<uint32_t> SimUi::Beeps() {
    std::lock_guard lock(mutex_);
    return beeps_;
}

intptr_t SimUi::ShellExecute(WindowId owner, const Text& verb, const Text& file,
                             const Text& parameters, const Text& directory) {
    std::lock_guard lock(mutex_);
    shellCalls_.push_back({owner, verb, file, parameters, directory});
    return shellResult;
}

bool SimUi::PlaySound(const Text& path) {
    std::lock_guard lock(mutex_);
    sounds_.push_back(path);
    return true;
}

std::vector<Text> SimUi::PlayedSounds() {
    std::lock_guard lock(mutex_);
    return sounds_;
}

Text SimUi::ClassName(WindowId window) {
    auto it = windows.find(window);
    return it == windows.end() ? Text() : it->second;
}

std::vector<SimMessage> SimUi::Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<SimMessageBox> SimUi::MessageBoxes() {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<SimShellCall> SimUi::ShellCalls() {
    std::lock_guard lock(mutex_);
    return shellCalls_;
}

void SimUi::ClearShellCalls() {
    std::lock_guard lock(mutex_);
    shellCalls_.clear();
}

}  // namespace wlk::platform::sim
