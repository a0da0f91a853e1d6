#include "pane/float_pane_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "language/interface_strings.h"
#include "language/menu_translation.h"
#include "log/event_log.h"
#include "pane/pane_place.h"
#include "platform/text.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_menu.h"
#include "res/resource.h"

namespace wlk::pane {

using platform::win32::AsWide;

namespace {

constexpr wchar_t kClassName[] = L"WordlarkFloatPane_5C2E9A41";
constexpr char16_t kPlaceKey[] = u"FloatPaneRect_TOPLEFT";
constexpr int kSearchId = 1002;
constexpr int kStatusId = 1003;
constexpr int kWidth = 360;
constexpr int kHeight = 440;
constexpr UINT kHoverExpandMs = 3000;
// Collapsing needs no button: the pane collapses by itself when the user works
// elsewhere, unless it is fixed.
constexpr UINT kToolbarButtons[] = {kCmdCopy, kCmdDelete, kCmdUndo, kCmdProtect, kCmdFix};

// A menu item's text as a button's: without its accelerator mark and keys.
Text ButtonLabel(const wchar_t* menuText) {
    Text label;
    for (const wchar_t* c = menuText; *c && *c != L'\t'; ++c)
        if (*c != L'&') label += char16_t(*c);
    return label;
}

log::EventLog& Log() {
    return log::EventLog::Instance();
}

int Height(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// Where a new pane goes: where the user left it, else at the right edge.
POINT StartPlace(const settings::Settings& settings) {
    settings::Point point;
    if (settings.ReadPoint(kPlaceKey, point)) return POINT{point.x, point.y};
    return POINT{GetSystemMetrics(SM_CXSCREEN) - kWidth - 5, GetSystemMetrics(SM_CYCAPTION)};
}

}  // namespace

bool CWLKFloatPane::Show(HINSTANCE instance, HWND tray, bool activate) {
    if (!hwnd_ && !Create(instance, tray)) {
        Log().WriteError(u"Cannot create float pane");
        return false;
    }
    if (collapsed_) SetCollapsed(false);
    ShowWindow(hwnd_, activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    if (!activate) return true;
    SetForegroundWindow(hwnd_);
    SetFocus(search_);
    return true;
}

void CWLKFloatPane::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool CWLKFloatPane::Create(HINSTANCE instance, HWND tray) {
    tray_ = tray;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(128));
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    const POINT place = StartPlace(parts_.settings);
    CreateWindowExW(
        WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"Wordlark : Clipboard History",
        WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
        place.x, place.y, kWidth, kHeight, tray, nullptr, instance, this);
    if (!hwnd_) return false;
    CreateToolbar(instance);
    search_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0,
                              hwnd_, reinterpret_cast<HMENU>(kSearchId), instance, nullptr);
    list_.Create(hwnd_, instance);
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(kStatusId), instance, nullptr);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND child : {search_, list_.Window(), status_, toolbar_})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (HWND child : {search_, list_.Window(), toolbar_})
        SetWindowSubclass(child, ChildProc, 1, reinterpret_cast<DWORD_PTR>(this));
    OnLanguageChanged();
    Layout();
    Refresh();
    expandedHeight_ = Height(hwnd_);
    return true;
}

LRESULT CALLBACK CWLKFloatPane::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<CWLKFloatPane*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<CWLKFloatPane*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CWLKFloatPane::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            Layout();
            OnMoved();
            return 0;
        case WM_MOVE: OnMoved(); return 0;
        case WM_ACTIVATE: OnActivate(wParam, reinterpret_cast<HWND>(lParam)); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == kSearchId)
                OnSearchChanged();
            else if (HIWORD(wParam) <= 1)
                OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam) == toolbar_);
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_INITMENUPOPUP: SetMenuStates(reinterpret_cast<HMENU>(wParam)); return 0;
        case WM_MENUSELECT: {
            const UINT id = (HIWORD(wParam) & MF_POPUP) ? 0 : LOWORD(wParam);
            const Text help = id ? language::GetString(id) : Text();
            SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(AsWide(help)));
            return 0;
        }
        case WM_NOTIFY: {
            LRESULT result = 0;
            OnNotify(*reinterpret_cast<NMHDR*>(lParam), result);
            return result;
        }
        case WM_DESTROY:
            for (UINT_PTR timer : {kTimerCopy, kTimerPaste, kTimerHoverExpand, kTimerReselect})
                KillTimer(hwnd_, timer);
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = toolbar_ = search_ = status_ = lastFocus_ = nullptr;
            collapsed_ = false;
            return 0;
        default: return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

LRESULT CALLBACK CWLKFloatPane::ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) noexcept {
    return reinterpret_cast<CWLKFloatPane*>(self)->OnChildMessage(hwnd, message, wParam, lParam);
}

// The keys of the search field and the list, and the toolbar's hover.
LRESULT CWLKFloatPane::OnChildMessage(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && OnKey(child, wParam)) return 0;
    if (message == WM_CHAR && (wParam == L'\r' || wParam == 27)) return 0;  // no beep
    if (message == WM_CHAR && child == list_.Window() && wParam >= L' ') {
        // Typing anywhere in the pane goes to the search field.
        SetFocus(search_);
        return SendMessageW(search_, WM_CHAR, wParam, lParam);
    }
    if (message == WM_MOUSEMOVE && child == toolbar_) ExpandOnHover();
    if (message == WM_MOUSEMOVE && child == list_.Window()) list_.OnMouseMove(lParam);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(child, ChildProc, 1);
    return DefSubclassProc(child, message, wParam, lParam);
}

bool CWLKFloatPane::OnKey(HWND child, WPARAM key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool inList = child == list_.Window();
    switch (key) {
        case VK_RETURN:
            // In the search field, Return takes the first row shown.
            StartCopyInsert(inList ? list_.Selection().focused : list_.PositionOf(0));
            return true;
        case VK_ESCAPE: OnEscape(); return true;
        case VK_DOWN:
            if (inList) return false;
            SetFocus(list_.Window());
            if (!list_.Selection().focused) list_.SelectRow(0);
            return true;
        case VK_UP:
            if (!inList || ListView_GetNextItem(list_.Window(), -1, LVNI_FOCUSED) > 0) return false;
            SetFocus(search_);
            return true;
        case VK_DELETE:
            if (!inList) return false;
            RunCommand(kCmdDelete);
            return true;
        case 'C':
            if (!inList || !ctrl) return false;
            RunCommand(kCmdCopy);
            return true;
        default: return false;
    }
}

void CWLKFloatPane::CreateToolbar(HINSTANCE instance) {
    toolbar_ =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS |
                            CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                        0, 0, 0, 0, hwnd_, nullptr, instance, nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
}

void CWLKFloatPane::OnLanguageChanged() {
    if (!hwnd_) return;
    while (SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0) > 0)
        SendMessageW(toolbar_, TB_DELETEBUTTON, 0, 0);
    // The buttons are named as the context menu names their commands.
    HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PANE_MENU));
    HMENU popup = resource ? GetSubMenu(resource, 0) : nullptr;
    if (popup) language::LocalizeMenu(*platform::win32::Win32Menu::View(popup));
    labels_.clear();
    std::vector<TBBUTTON> buttons;
    for (UINT id : kToolbarButtons) {
        wchar_t text[128] = {};
        if (popup) GetMenuStringW(popup, id, text, 128, MF_BYCOMMAND);
        labels_.push_back(ButtonLabel(text));
    }
    for (size_t i = 0; i < labels_.size(); ++i) {
        const UINT id = kToolbarButtons[i];
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = int(id);
        button.fsState = BYTE(TBSTATE_ENABLED | (id == kCmdFix && fixed_ ? TBSTATE_CHECKED : 0));
        button.fsStyle = BYTE(BTNS_AUTOSIZE | BTNS_SHOWTEXT | (id == kCmdFix ? BTNS_CHECK : 0));
        button.iString = reinterpret_cast<INT_PTR>(AsWide(labels_[i]));
        buttons.push_back(button);
    }
    if (resource) DestroyMenu(resource);
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    Layout();
}

TooltipLabels CWLKFloatPane::TooltipTexts() const {
    return TooltipLabels{language::GetString(290), language::GetString(291),
                         language::GetString(292), language::GetString(293)};
}

void CWLKFloatPane::Layout() {
    if (!hwnd_ || !toolbar_) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const DWORD size = DWORD(SendMessageW(toolbar_, TB_GETBUTTONSIZE, 0, 0));
    const int toolbarHeight = HIWORD(size) + 2;
    MoveWindow(toolbar_, 0, 0, client.right, toolbarHeight, TRUE);
    SendMessageW(status_, WM_SIZE, 0, 0);
    RECT status{};
    GetWindowRect(status_, &status);
    const int statusHeight = status.bottom - status.top;
    const int searchHeight = 22;
    MoveWindow(search_, 2, toolbarHeight + 2, client.right - 4, searchHeight, TRUE);
    const int listTop = toolbarHeight + searchHeight + 4;
    MoveWindow(list_.Window(), 0, listTop, client.right, client.bottom - listTop - statusHeight,
               TRUE);
    ListView_SetColumnWidth(list_.Window(), 0, client.right - GetSystemMetrics(SM_CXVSCROLL) - 4);
}

void CWLKFloatPane::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom == list_.Window() || header.hwndFrom == list_.Tip()) {
        if (header.code == NM_DBLCLK) {
            StartCopyInsert(list_.Selection().focused);
            return;
        }
        if (auto handled = list_.OnNotify(parts_.history.Items(), header, TooltipTexts()))
            result = *handled;
        return;
    }
    if (header.code == TTN_GETDISPINFOW) {
        // The toolbar's tooltips are the commands' help texts.
        auto& tip = reinterpret_cast<NMTTDISPINFOW&>(header);
        tooltip_ = language::GetString(uint32_t(header.idFrom));
        tip.lpszText = const_cast<wchar_t*>(AsWide(tooltip_));
    }
}

void CWLKFloatPane::OnTimer(UINT_PTR id) {
    switch (id) {
        case kTimerCopy: OnCopyTimer(); break;
        case kTimerPaste: OnPasteTimer(); break;
        case kTimerHoverExpand: {
            POINT cursor{};
            RECT rect{};
            GetCursorPos(&cursor);
            GetWindowRect(hwnd_, &rect);
            if (PtInRect(&rect, cursor)) break;
            KillTimer(hwnd_, id);
            SetCollapsed(true);
            break;
        }
        case kTimerReselect:
            KillTimer(hwnd_, id);
            Refresh();
            list_.SelectItem(parts_.history.Items(), reselectId_);
            break;
        default: break;
    }
}

// Losing the focus to another program collapses the pane unless it is fixed.
// Back in the pane, the keys go where they went before, else to the search.
void CWLKFloatPane::OnActivate(WPARAM state, HWND other) {
    if (LOWORD(state) != WA_INACTIVE) {
        if (!HIWORD(state))
            SetFocus(lastFocus_ && IsChild(hwnd_, lastFocus_) ? lastFocus_ : search_);
        return;
    }
    if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    if (fixed_ || collapsed_) return;
    DWORD process = 0;
    if (other) GetWindowThreadProcessId(other, &process);
    if (process != GetCurrentProcessId()) SetCollapsed(true);
}

void CWLKFloatPane::OnMoved() {
    if (!hwnd_ || !IsWindowVisible(hwnd_) || IsIconic(hwnd_) || collapsed_) return;
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    parts_.settings.WritePoint(kPlaceKey, settings::Point{rect.left, rect.top});
    expandedHeight_ = rect.bottom - rect.top;
}

void CWLKFloatPane::OnSearchChanged() {
    Refresh();
    if (list_.RowCount() > 0 && !list_.Selection().focused) list_.SelectRow(0);
}

// Escape clears the search first; with nothing to clear it puts the pane away.
void CWLKFloatPane::OnEscape() {
    if (GetWindowTextLengthW(search_) > 0) {
        SetWindowTextW(search_, L"");
        SetFocus(search_);
        return;
    }
    if (fixed_)
        ShowWindow(hwnd_, SW_HIDE);
    else
        SetCollapsed(true);
}

// Collapsed, the pane keeps its caption and toolbar only.
void CWLKFloatPane::SetCollapsed(bool on) {
    if (on == collapsed_ || !hwnd_) return;
    RECT window{};
    RECT client{};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    if (on) expandedHeight_ = window.bottom - window.top;
    RECT toolbar{};
    GetWindowRect(toolbar_, &toolbar);
    const int frame = (window.bottom - window.top) - client.bottom;
    collapsed_ = on;
    const int height = on ? frame + (toolbar.bottom - toolbar.top) : expandedHeight_;
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The mouse over a collapsed pane's toolbar opens it for a while.
void CWLKFloatPane::ExpandOnHover() {
    if (!collapsed_ || GetAsyncKeyState(VK_LBUTTON) < 0) return;
    SetCollapsed(false);
    SetTimer(hwnd_, kTimerHoverExpand, kHoverExpandMs, nullptr);
}

void CWLKFloatPane::OnHistoryChanged() {
    if (hwnd_) Refresh();
}

void CWLKFloatPane::Refresh() {
    list_.Refresh(parts_.history.Items(), Query());
}

Text CWLKFloatPane::Query() const {
    wchar_t buffer[256] = {};
    GetWindowTextW(search_, buffer, 256);
    return platform::win32::FromWide(buffer);
}

void CWLKFloatPane::KeepOnScreen() {
    if (!hwnd_) return;
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    const PlaceCheck check =
        CheckPlace(PaneRect{rect.left, rect.top, rect.right, rect.bottom},
                   GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                   GetSystemMetrics(SM_CYCAPTION));
    for (const Text& line : check.lines) Log().Write(line);
    if (!check.moveTo) return;
    SetWindowPos(hwnd_, HWND_TOPMOST, check.moveTo->left, check.moveTo->top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace wlk::pane
