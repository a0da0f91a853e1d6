// Records every message, message box and shell call, and lets a test answer
// sent messages.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace wlk::platform::sim {

struct SimMessage {
    WindowId window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    bool posted;
};

struct SimBroadcast {
    uint32_t flags;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

struct SimMessageBox {
    MessageOwner owner;
    Text text;
    Text caption;
    MessageIcon icon;
    bool topmost;
    WindowId window;  // the owning window of MessageBoxOwned, else 0
};

// One focus or foreground call: "attach 1 77", "detach 1 77", "focus 7001",
// "foreground 7001".
using SimFocusCall = std::string;

struct SimShellCall {
    WindowId owner;
    Text verb, file, parameters, directory;
};

class SimUi : public Ui {
public:
    uint32_t RegisterMessage(const Text& name) override;
    intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam) override;
    bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    // Recorded as sent; nothing while `hungWindows` holds the window.
    std::optional<intptr_t> SendMessageTimeout(WindowId window, uint32_t message, uintptr_t wParam,
                                               intptr_t lParam, uint32_t timeoutMs) override;
    bool BroadcastSystemMessage(uint32_t flags, uint32_t message, uintptr_t wParam,
                                intptr_t lParam) override;
    std::vector<SimBroadcast> Broadcasts();
    bool SetTimer(WindowId window, uintptr_t id, uint32_t periodMs) override;
    void KillTimer(WindowId window, uintptr_t id) override;
    // The period of a running timer, or nothing.
    std::optional<uint32_t> TimerPeriod(WindowId window, uintptr_t id);
    void MessageBox(MessageOwner owner, const Text& text, const Text& caption, MessageIcon icon,
                    bool topmost) override;
    intptr_t ShellExecute(WindowId owner, const Text& verb, const Text& file,
                          const Text& parameters, const Text& directory) override;
    uint32_t ShellLastError() override { return shellLastError; }
    void MessageBoxOwned(WindowId owner, const Text& text, const Text& caption,
                         MessageIcon icon) override;
    void MessageBeep(uint32_t type) override;
    std::vector<uint32_t> Beeps();
    uint32_t CurrentThreadId() override { return currentThread; }
    bool AttachThreadInput(uint32_t from, uint32_t to, bool attach) override;
    void SetFocus(WindowId window) override;
    bool SetForegroundWindow(WindowId window) override;
    // The focus, foreground and attach calls in order, numbers in hexadecimal.
    std::vector<SimFocusCall> FocusCalls();
    bool PlaySound(const Text& path) override;
    std::vector<Text> PlayedSounds();
    bool IsWindow(WindowId window) override { return windows.count(window) != 0; }
    Text ClassName(WindowId window) override;

    std::vector<SimMessage> Messages();
    std::vector<SimMessageBox> MessageBoxes();
    std::vector<SimShellCall> ShellCalls();
    // Forgets the shell calls so far, for a caller making calls without end.
    void ClearShellCalls();
    // Called for each sent or posted message, on the sender's thread.
    std::function<intptr_t(const SimMessage&)> onMessage;
    intptr_t shellResult = 42;
    // What GetLastError gives after a shell call.
    uint32_t shellLastError = 0;
    // Windows that exist, with their class names.
    std::map<WindowId, Text> windows;
    // Windows that do not answer sent messages in time.
    std::set<WindowId> hungWindows;
    uint32_t currentThread = 1;
    // Threads whose input cannot be attached to.
    std::set<uint32_t> unattachable;

private:
    std::mutex mutex_;
    std::map<Text, uint32_t> registered_;
    std::map<std::pair<WindowId, uintptr_t>, uint32_t> timers_;
    std::vector<SimMessage> messages_;
    std::vector<SimBroadcast> broadcasts_;
    std::vector<SimMessageBox> boxes_;
    std::vector<SimShellCall> shellCalls_;
    std::vector<Text> sounds_;
    std::vector<uint32_t> beeps_;
    std::vector<SimFocusCall> focusCalls_;
};

}  // namespace wlk::platform::sim
