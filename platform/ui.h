// Windows, messages, message boxes and the shell, as far as the logic needs them.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::platform {

enum class MessageIcon { Information, Warning, Error };

// Owner of a message box: nobody, or the desktop window.
enum class MessageOwner { None, Desktop };

class Ui {
public:
    virtual ~Ui() = default;
    // RegisterWindowMessageW.
    virtual uint32_t RegisterMessage(const Text& name) = 0;
    virtual intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam) = 0;
    virtual bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam) = 0;
    // SendMessageTimeoutW with SMTO_BLOCK | SMTO_ABORTIFHUNG: the window's
    // result, or nothing when the call failed, timed out or the window hangs.
    virtual std::optional<intptr_t> SendMessageTimeout(WindowId window, uint32_t message,
                                                       uintptr_t wParam, intptr_t lParam,
                                                       uint32_t timeoutMs) = 0;
    // BroadcastSystemMessageW (looked up at run time) to all components with
    // the BSF_ flags given; false when it fails.
    virtual bool BroadcastSystemMessage(uint32_t flags, uint32_t message, uintptr_t wParam,
                                        intptr_t lParam) = 0;
    // SetTimer / KillTimer of a window's timer `id`.
    virtual bool SetTimer(WindowId window, uintptr_t id, uint32_t periodMs) = 0;
    virtual void KillTimer(WindowId window, uintptr_t id) = 0;
    // MessageBoxW with caption, icon and, when asked, MB_TOPMOST.
    virtual void MessageBox(MessageOwner owner, const Text& text, const Text& caption,
                            MessageIcon icon, bool topmost) = 0;
    // PlaySoundW of a WAV file, returning when it has been played.
    virtual bool PlaySound(const Text& path) = 0;
    // IsWindow and GetClassNameW, for diagnostics.
    virtual bool IsWindow(WindowId window) = 0;
    virtual Text ClassName(WindowId window) = 0;
    // ShellExecuteW; the result as Windows gives it (> 32 on success).
    virtual intptr_t ShellExecute(WindowId owner, const Text& verb, const Text& file,
                                  const Text& parameters, const Text& directory) = 0;
    // GetLastError of the calling thread right after its last ShellExecute.
    virtual uint32_t ShellLastError() = 0;
    // MessageBoxW owned by a window (0: none), with MB_OK and the icon.
    virtual void MessageBoxOwned(WindowId owner, const Text& text, const Text& caption,
                                 MessageIcon icon) = 0;
    // MessageBeep; 0xFFFFFFFF is the simple beep.
    virtual void MessageBeep(uint32_t type) = 0;
    // GetCurrentThreadId.
    virtual uint32_t CurrentThreadId() = 0;
    // AttachThreadInput: shares (or stops sharing) one thread's input state
    // with another's, which SetFocus and SetForegroundWindow need to reach a
    // window of another thread.
    virtual bool AttachThreadInput(uint32_t from, uint32_t to, bool attach) = 0;
    // SetFocus.
    virtual void SetFocus(WindowId window) = 0;
    // SetForegroundWindow.
    virtual bool SetForegroundWindow(WindowId window) = 0;
};

}  // namespace wlk::platform
