// Ending the tray window, which must outlive the loops that run inside its
// handlers (the phrase menu, a prompt, a message box): an exit asked for
// inside one closes them and destroys the window once they have unwound. A
// menu or prompt opened meanwhile is closed too; a loop that will not close
// is left behind after two seconds.
#pragma once

#include "app/modal_loops.h"
#include "platform/win32/windows_api.h"

namespace wlk::app {

class CWLKTrayExit {
public:
    explicit CWLKTrayExit(ModalLoops& loops) : loops_(loops) {}

    void Request(HWND window);
    // The window's kTimerExitWait fired.
    void OnTimer(HWND window);

private:
    ModalLoops& loops_;
    bool requested_ = false;
    int ticks_ = 0;
};

}  // namespace wlk::app
