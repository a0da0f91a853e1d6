// The notification-area icon: its picture, tooltip and balloons.
#pragma once

#include "app/tray_texts.h"
#include "platform/types.h"
#include "platform/win32/windows_api.h"

namespace wlk::app {

enum class TrayIconMode { Add = 0, Modify = 1, Refresh = 2 };

class TrayIcon {
public:
    void Attach(HWND window, HINSTANCE instance) {
        window_ = window;
        instance_ = instance;
    }
    // Adds or modifies the icon: picture 128 while the phrase menu is on, 201
    // while it is off, the tooltip made of `facts`; with a balloon text, shows
    // it as a balloon.
    bool Update(TrayIconMode mode, const TrayFacts& facts, const Text& balloon = Text(),
                bool warning = false);
    // A balloon hidden again after `milliseconds` (the window's balloon timer).
    void ShowBalloon(const TrayFacts& facts, const Text& text, UINT milliseconds);
    void HideBalloon();
    void Remove();

private:
    NOTIFYICONDATAW Data(bool on, const Text& tooltip) const;

    HWND window_ = nullptr;
    HINSTANCE instance_ = nullptr;
    bool lastOn_ = false;
    Text lastTooltip_;
};

}  // namespace wlk::app
