#include "app/tray_messages_win32.h"

namespace wlk::app {

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

UINT StartupNoteMessage() {
    static const UINT message = RegisterWindowMessageW(L"{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}");
    return message;
}

UINT GestureMessage() {
    static const UINT message = RegisterWindowMessageW(L"{CD8F8D19-9440-4b61-ADD7-980B478E41F6}");
    return message;
}

}  // namespace wlk::app
