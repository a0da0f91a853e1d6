#include "menu/menu_tooltip_win32.h"

#include <chrono>

#include "language/interface_strings.h"
#include "menu/phrase_item.h"
#include "menu/popup_menu_win32.h"
#include "platform/platform.h"

namespace wlk::menu {

namespace {

constexpr uint32_t kDefaultTipString = 134;  // "Ooops! Tip text not found"
constexpr wchar_t kNoText[] = L"No Text associated";
constexpr wchar_t kSelfProperty[] = L"Wordlark.MenuToolTip";
// Posted by a delay worker: wParam is the selection it waited for.
constexpr UINT kShowMessage = WM_APP + 1;
constexpr int kEndWaitTries = 100;
constexpr auto kEndWaitStep = std::chrono::milliseconds(100);

// The system tooltip's procedure, which the "MenuToolTip" class hands on to.
WNDPROC g_baseProc = nullptr;

// A copy of the system's tooltip class with `proc` in front of its own
// procedure; registered by the first tip.
bool RegisterOnce(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kToolTipClassName, &wc)) return true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    if (!GetClassInfoExW(nullptr, TOOLTIPS_CLASSW, &wc)) return false;
    g_baseProc = wc.lpfnWndProc;
    wc.lpfnWndProc = proc;
    wc.style &= ~CS_GLOBALCLASS;
    wc.hInstance = instance;
    wc.lpszClassName = kToolTipClassName;
    return RegisterClassExW(&wc) != 0;
}

int PositionOfCommand(HMENU menu, UINT id) {
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i)
        if (GetMenuItemID(menu, i) == id) return i;
    return -1;
}

}  // namespace

POINT PlaceTip(const RECT& item, SIZE tip, SIZE screen, SIZE border) {
    POINT at{item.right + border.cx, item.top + border.cy};
    if (item.right >= screen.cx * 2 / 3) at.x = item.left - tip.cx;
    if (at.y + tip.cy > screen.cy) at.y = screen.cy - tip.cy;
    return at;
}

MenuToolTip::~MenuToolTip() {
    Destroy();
}

LRESULT CALLBACK MenuToolTip::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
    auto* self = static_cast<MenuToolTip*>(GetPropW(hwnd, kSelfProperty));
    if (self) {
        switch (message) {
            case kShowMessage: self->ShowIfStill(wParam); return 0;
            case WM_MOUSEMOVE:
            case WM_LBUTTONDOWN: self->Hide(); break;
            case WM_NCDESTROY: RemovePropW(hwnd, kSelfProperty); break;
        }
    }
    return CallWindowProcW(g_baseProc, hwnd, message, wParam, lParam);
}

TOOLINFOW MenuToolTip::Tool() {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = owner_;
    tool.uId = 1;
    return tool;
}

bool MenuToolTip::Create(HINSTANCE instance, HWND owner, HFONT font) {
    if (!RegisterOnce(instance, WindowProc)) return false;
    owner_ = owner;
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TRANSPARENT, kToolTipClassName, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    if (!hwnd_) return false;
    SetPropW(hwnd_, kSelfProperty, this);
    text_ = language::GetString(kDefaultTipString);
    TOOLINFOW tool = Tool();
    tool.lpszText = reinterpret_cast<wchar_t*>(text_.data());
    SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return true;
}

void MenuToolTip::Destroy() {
    if (!hwnd_) return;
    Hide();
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->changed.notify_all();
    for (int i = 0; i < kEndWaitTries && shared_->running > 0; ++i)
        shared_->changed.wait_for(lock, kEndWaitStep);
}

void MenuToolTip::Hide() {
    ++shared_->selection;  // a delay still running shows nothing
    if (!hwnd_) return;
    TOOLINFOW tool = Tool();
    SendMessageW(hwnd_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void MenuToolTip::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT flags = HIWORD(wParam);
    auto* menu = reinterpret_cast<HMENU>(lParam);
    Hide();
    if (flags == 0xFFFF && !menu) return;  // the menu closed
    menu_ = menu;
    position_ = (flags & MF_POPUP) ? int(LOWORD(wParam)) : PositionOfCommand(menu, LOWORD(wParam));
    if (position_ >= 0 && !(flags & MF_SEPARATOR)) StartDelay();
}

void MenuToolTip::StartDelay() {
    std::shared_ptr<Shared> shared = shared_;
    const uint64_t mine = shared->selection;
    HWND window = hwnd_;
    HMENU menu = menu_;
    {
        std::lock_guard lock(shared->mutex);
        ++shared->running;
    }
    // Only atomics, the shared block and window handles here: the worker may
    // still run while the menu closes.
    const bool started = platform::Current().threads.Start([shared, mine, window, menu] {
        std::unique_lock lock(shared->mutex);
        shared->changed.wait_for(lock, std::chrono::milliseconds(kToolTipDelayMs),
                                 [&] { return shared->stopping; });
        if (!shared->stopping && shared->selection == mine && IsMenu(menu) && IsWindow(window))
            PostMessageW(window, kShowMessage, WPARAM(mine), 0);
        --shared->running;
        shared->changed.notify_all();
    });
    if (!started) {
        std::lock_guard lock(shared->mutex);
        --shared->running;
    }
}

void MenuToolTip::ShowIfStill(uint64_t selection) {
    if (selection != shared_->selection || !IsMenu(menu_)) return;
    const MenuItemData* item = ItemDataAt(menu_, position_);
    RECT rect{};
    if (!item) return Hide();
    text_ = ItemTooltip(*item);
    if (text_.empty() || !GetMenuItemRect(nullptr, menu_, UINT(position_), &rect)) return Hide();
    TOOLINFOW tool = Tool();
    tool.lpszText = reinterpret_cast<wchar_t*>(text_.data());
    SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    // Shown first where it fits on the right, so that its size is known.
    SendMessageW(hwnd_, TTM_TRACKPOSITION, 0, MAKELPARAM(rect.right, rect.top));
    SendMessageW(hwnd_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    RECT tip{};
    GetWindowRect(hwnd_, &tip);
    const POINT at = PlaceTip(rect, SIZE{tip.right - tip.left, tip.bottom - tip.top},
                              SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                              SIZE{GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)});
    SendMessageW(hwnd_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MenuToolTip::OnIdle() {
    if (menu_ && !IsMenu(menu_)) Hide();
}

LRESULT MenuToolTip::OnNotify(const NMHDR& header) {
    if (header.code != TTN_GETDISPINFOW) return 0;
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    info.lpszText =
        text_.empty() ? const_cast<wchar_t*>(kNoText) : reinterpret_cast<wchar_t*>(text_.data());
    return 0;
}

}  // namespace wlk::menu
