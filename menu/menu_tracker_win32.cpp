#include "menu/menu_tracker_win32.h"

#include <cwchar>
#include <vector>

#include "menu/item_command_menu_win32.h"
#include "menu/popup_menu_win32.h"

namespace wlk::menu {

namespace {

// A right click on an item, found by the message filter: position and menu.
constexpr UINT kMsgItemRightClick = WM_APP + 1;
// The tracker of this thread's open phrase menu, for the message filter.
thread_local MenuTracker* current = nullptr;

bool RegisterOnce(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kTrackerClassName, &wc)) return true;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = kTrackerClassName;
    return RegisterClassExW(&wc) != 0;
}

// The menu shown in `window` when it is one of this thread's own menu windows.
// A window of another thread is never asked: it may belong to a program
// that does not answer.
HMENU OwnMenuIn(HWND window) {
    wchar_t name[8] = {};
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() ||
        !GetClassNameW(window, name, 8) || wcscmp(name, L"#32768") != 0)
        return nullptr;
    return reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
}

bool IsHighlighted(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    return GetMenuItemInfoW(menu, UINT(position), TRUE, &info) && (info.fState & MFS_HILITE);
}

}  // namespace

MenuTracker::MenuTracker(HINSTANCE instance, MenuPainter& painter, TrackerCallbacks callbacks)
    : instance_(instance), painter_(painter), callbacks_(std::move(callbacks)) {}

MenuTracker::~MenuTracker() {
    Destroy();
}

bool MenuTracker::Create(bool tooltips) {
    if (hwnd_) return true;
    if (!RegisterOnce(instance_, WindowProc)) return false;
    tooltips_ = tooltips;
    keyChoice_ = 0;
    CreateWindowExW(0, kTrackerClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_,
                    this);
    if (!hwnd_) return false;
    current = this;
    filter_ = SetWindowsHookExW(WH_MSGFILTER, MessageFilter, nullptr, GetCurrentThreadId());
    return true;
}

void MenuTracker::Destroy() {
    if (filter_) UnhookWindowsHookEx(filter_);
    filter_ = nullptr;
    if (current == this) current = nullptr;
    if (hwnd_) DestroyWindow(hwnd_);
}

// Not every system sends WM_MENURBUTTONUP (Wine does not): the menu loop's
// message filter sees the right button's release instead. The message is
// taken out of the menu's way and its item handled once the loop dispatches
// the note, so that the item command menu does not see the same release.
LRESULT CALLBACK MenuTracker::MessageFilter(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && msg->message == WM_RBUTTONUP && current && !current->inItemMenu_) {
        const HMENU menu = OwnMenuIn(WindowFromPoint(msg->pt));
        const int position = menu ? MenuItemFromPoint(nullptr, menu, msg->pt) : -1;
        if (position >= 0) {
            PostMessageW(current->hwnd_, kMsgItemRightClick, WPARAM(position), LPARAM(menu));
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MenuTracker::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MenuTracker*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<MenuTracker*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT MenuTracker::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_MEASUREITEM:
            painter_.OnMenuMEASUREITEM(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            painter_.OnMenuDRAWITEMSTRUCT(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MENUSELECT: {
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
            if (tooltip_) tooltip_->OnMenuSelect(wParam, lParam);
            return result;
        }
        case WM_ENTERIDLE: {
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
            if (tooltip_) tooltip_->OnIdle();
            return result;
        }
        case WM_MENURBUTTONUP:
        case kMsgItemRightClick:
            OnMenuRButtonUp(int(wParam), reinterpret_cast<HMENU>(lParam));
            return 0;
        case WM_MENUCHAR:
            return OnMenuChar(char16_t(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_EXITMENULOOP:
            // The item command menu's loop ends inside the phrase menu's.
            if (!inItemMenu_) EndToolTip();
            return 0;
        case WM_DESTROY: EndToolTip(); return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void MenuTracker::OnCreate() {
    if (!tooltips_) return;
    tooltip_ = std::make_unique<MenuToolTip>();
    if (!tooltip_->Create(instance_, hwnd_, painter_.NormalFont())) tooltip_.reset();
}

void MenuTracker::HideToolTip() {
    if (tooltip_) tooltip_->Hide();
}

void MenuTracker::EndToolTip() {
    tooltip_.reset();
}

LRESULT MenuTracker::OnNotify(const NMHDR& header) {
    if (tooltip_ && header.hwndFrom == tooltip_->Window()) return tooltip_->OnNotify(header);
    return 0;
}

// Keys typed in the open menu: the item they name is chosen (the menu then
// ends, and the choice is read from KeyChoice) or highlighted.
LRESULT MenuTracker::OnMenuChar(char16_t ch, HMENU menu) {
    if (!callbacks_.onMenuKey) return MAKELRESULT(0, MNC_IGNORE);
    std::vector<const MenuItemData*> level;
    int selected = -1;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        level.push_back(ItemDataAt(menu, i));
        if (IsHighlighted(menu, i)) selected = i;
    }
    const MenuKeyResult result = callbacks_.onMenuKey(ch, level, selected);
    switch (result.action) {
        case MenuKeyResult::Action::Choose:
            keyChoice_ = result.id;
            EndMenu();
            return MAKELRESULT(0, MNC_CLOSE);
        case MenuKeyResult::Action::Select: return MAKELRESULT(result.position, MNC_SELECT);
        case MenuKeyResult::Action::None: break;
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

void MenuTracker::OnMenuRButtonUp(int position, HMENU menu) {
    const MenuItemData* item = ItemDataAt(menu, position);
    if (inItemMenu_ || !item || !HasItemCommands(*item)) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    HideToolTip();
    inItemMenu_ = true;
    const int action = TrackItemCommandMenu(hwnd_, *item);
    inItemMenu_ = false;
    if (action == kActionNone) return;
    if (callbacks_.onRightMenuCommand) callbacks_.onRightMenuCommand(item->commandId, action);
    if (action >= kActionGoogle) EndMenu();
}

}  // namespace wlk::menu
