// Window messages, message boxes and the shell.
#pragma once

#include "platform/ui.h"

namespace wlk::platform::win32 {

class Win32Ui final : public Ui {
public:
    uint32_t RegisterMessage(const Text& name) override;
    intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam) override;
    bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    std::optional<intptr_t> SendMessageTimeout(WindowId window, uint32_t message, uintptr_t wParam,
                                               intptr_t lParam, uint32_t timeoutMs) override;
    bool BroadcastSystemMessage(uint32_t flags, uint32_t message, uintptr_t wParam,
                                intptr_t lParam) override;
    bool SetTimer(WindowId window, uintptr_t id, uint32_t periodMs) override;
    void KillTimer(WindowId window, uintptr_t id) override;
    void MessageBox(MessageOwner owner, const Text& text, const Text& caption, MessageIcon icon,
                    bool topmost) override;
    bool IsWindow(WindowId window) override;
    Text ClassName(WindowId window) override;
    bool PlaySound(const Text& path) override;
    uint32_t ShellLastError() override;
    void MessageBoxOwned(WindowId owner, const Text& text, const Text& caption,
                         MessageIcon icon) override;
    void MessageBeep(uint32_t type) override;
    uint32_t CurrentThreadId() override;
    bool AttachThreadInput(uint32_t from, uint32_t to, bool attach) override;
    void SetFocus(WindowId window) override;
    bool SetForegroundWindow(WindowId window) override;
    intptr_t ShellExecute(WindowId owner, const Text& verb, const Text& file,
                          const Text& parameters, const Text& directory) override;
};

}  // namespace wlk::platform::win32
