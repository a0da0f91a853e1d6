#include "app/input_desktop_win32.h"

#include "platform/win32/windows_api.h"

namespace wlk::app {

bool InputDesktopIsActive() {
    HDESK input = OpenInputDesktop(0, FALSE, MAXIMUM_ALLOWED);
    if (!input) return false;
    wchar_t inputName[256] = {};
    wchar_t ownName[256] = {};
    GetUserObjectInformationW(input, UOI_NAME, inputName, sizeof inputName, nullptr);
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, ownName,
                              sizeof ownName, nullptr);
    CloseDesktop(input);
    return lstrcmpiW(inputName, ownName) == 0;
}

}  // namespace wlk::app
