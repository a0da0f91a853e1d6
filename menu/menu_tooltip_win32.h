// The tooltip beside the selected item of the phrase menu: shown half a
// second after the selection settles, placed beside the item and kept on the
// screen, hidden by the mouse and when the menu closes.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/types.h"
#include "platform/win32/windows_api.h"
// After <windows.h>, which it needs.
#include <commctrl.h>

namespace wlk::menu {

inline constexpr wchar_t kToolTipClassName[] = L"MenuToolTip";
inline constexpr uint32_t kToolTipDelayMs = 500;

// Where a tip of `tip` size goes beside `item` on a screen of `screen` size:
// right of the item when its right edge lies in the left two thirds, else
// left of it; at the item's top, moved up to stay on the screen.
POINT PlaceTip(const RECT& item, SIZE tip, SIZE screen, SIZE border);

class MenuToolTip {
public:
    MenuToolTip() = default;
    ~MenuToolTip();
    MenuToolTip(const MenuToolTip&) = delete;
    MenuToolTip& operator=(const MenuToolTip&) = delete;

    // The tip window, owned by the tracker window `owner`, in `font`.
    bool Create(HINSTANCE instance, HWND owner, HFONT font);
    // Hides the tip, waits for the delay workers still running and destroys it.
    void Destroy();
    HWND Window() const { return hwnd_; }

    // The owner's WM_MENUSELECT.
    void OnMenuSelect(WPARAM wParam, LPARAM lParam);
    // The owner's WM_ENTERIDLE: a tip whose menu is gone is hidden.
    void OnIdle();
    // The tip's text requests sent to the owner.
    LRESULT OnNotify(const NMHDR& header);
    // Hides the tip now; a delay still running shows nothing.
    void Hide();

private:
    // What the delay workers share with the tip: they may outlive neither
    // the tip nor its window, so they keep this block alive themselves.
    struct Shared {
        std::atomic<uint64_t> selection{0};
        std::mutex mutex;
        std::condition_variable changed;
        int running = 0;
        bool stopping = false;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    void StartDelay();
    void ShowIfStill(uint64_t selection);
    TOOLINFOW Tool();

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    HMENU menu_ = nullptr;
    int position_ = -1;
    Text text_;  // the tool's text points here while it is shown
};

}  // namespace wlk::menu
