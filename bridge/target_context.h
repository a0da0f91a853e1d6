// The facts about the window the user works in, as the hook component reports
// them in a query (or the hook service gathers them itself).
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::bridge {

// How SelText was obtained.
inline constexpr int32_t kSelTextNone = 0;
inline constexpr int32_t kSelTextUnreadable = 1;
inline constexpr int32_t kSelTextExtracted = 2;
// The target holds a secret (a password box): its text is never read.
inline constexpr int32_t kSelTextWithheld = 3;

struct CaretRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The GUI state of the target's thread, laid out as GUITHREADINFO.
struct GuiThreadInfo {
    uint32_t cbSize = 48;
    uint32_t flags = 0;
    platform::WindowId HWND_Active = 0;
    platform::WindowId HWND_Focus = 0;
    platform::WindowId HWND_Capture = 0;
    platform::WindowId HWND_MenuOwner = 0;
    platform::WindowId HWND_MoveSize = 0;
    platform::WindowId HWND_Caret = 0;
    CaretRect rcCaret;
};

struct TargetContext {
    Text AppPath;
    Text WindowClassName;
    platform::WindowId HWND = 0;
    GuiThreadInfo guiThread;
    uint32_t HKL = 0;
    Text SelText;
    int32_t StateSelText = kSelTextNone;
    int32_t POINT_X = -1;
    int32_t POINT_Y = -1;
};

// The log wording of a StateSelText value.
Text StateSelTextLogText(int32_t state);

}  // namespace wlk::bridge
