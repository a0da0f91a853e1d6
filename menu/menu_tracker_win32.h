// The invisible window that owns the phrase menu while it is tracked: it
// measures and paints the items, shows the tooltip of the selected item, opens
// the item command menu on a right click and answers typed keys.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "menu/menu_keys.h"
#include "menu/menu_painter_win32.h"
#include "menu/menu_tooltip_win32.h"
#include "platform/win32/windows_api.h"

namespace wlk::menu {

inline constexpr wchar_t kTrackerClassName[] = L"Wordlark_Menu_Tracker";

struct TrackerCallbacks {
    // An item command was chosen on the item with this command id (action
    // codes: copy 0, open as URL 1, edit 2, open with 3, Google 4, Yandex 5,
    // MSDN 6, Wikipedia 7).
    std::function<void(uint32_t commandId, int action)> onRightMenuCommand;
    // A key typed in the open menu level `level` with the item at `selected`
    // highlighted.
    std::function<MenuKeyResult(char16_t ch, const std::vector<const MenuItemData*>& level,
                                int selected)>
        onMenuKey;
};

class MenuTracker {
public:
    MenuTracker(HINSTANCE instance, MenuPainter& painter, TrackerCallbacks callbacks);
    ~MenuTracker();
    MenuTracker(const MenuTracker&) = delete;
    MenuTracker& operator=(const MenuTracker&) = delete;

    // The message-only window; with `tooltips`, the tooltip comes with it.
    bool Create(bool tooltips);
    void Destroy();
    HWND Window() const { return hwnd_; }
    // A Choose result of onMenuKey ends the menu; this is the command chosen
    // (0 when none), read after TrackPopupMenuEx returned.
    uint32_t KeyChoice() const { return keyChoice_; }
    // Hides the tooltip now; the next selection shows it again.
    void HideToolTip();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    LRESULT OnMenuChar(char16_t ch, HMENU menu);
    void OnMenuRButtonUp(int position, HMENU menu);
    LRESULT OnNotify(const NMHDR& header);
    void EndToolTip();

    HWND hwnd_ = nullptr;
    uint32_t keyChoice_ = 0;
    HINSTANCE instance_;
    MenuPainter& painter_;
    TrackerCallbacks callbacks_;
    bool tooltips_ = false;
    std::unique_ptr<MenuToolTip> tooltip_;
    bool inItemMenu_ = false;  // one item command menu at a time
    HHOOK filter_ = nullptr;
};

}  // namespace wlk::menu
