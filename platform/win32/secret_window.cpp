#include "platform/win32/secret_window.h"

namespace wlk::platform::win32 {

namespace {

// A window of a hung program is taken for a secret: its text is not read.
constexpr UINT kAskTimeoutMs = 100;

// Edit and rich-edit controls, and the many controls built on them, answer
// with the character they show in place of each letter of a password.
bool ShowsPasswordCharacter(HWND window) {
    DWORD_PTR character = 0;
    if (!SendMessageTimeoutW(window, EM_GETPASSWORDCHAR, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kAskTimeoutMs, &character))
        return GetLastError() == ERROR_TIMEOUT;
    return character != 0;
}

bool Marked(HWND window) {
    return window && GetPropW(window, kSecretWindowProperty) != nullptr;
}

}  // namespace

bool HoldsSecret(HWND window) {
    return Marked(window) || Marked(GetAncestor(window, GA_ROOT)) || ShowsPasswordCharacter(window);
}

}  // namespace wlk::platform::win32
