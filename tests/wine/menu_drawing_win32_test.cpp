// The phrase menu's owner drawing painted into a memory bitmap, the model
// appended to a real popup menu, the item command menu, and the tracker
// window with its tooltip and right-click handling.
#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "menu/item_command_menu_win32.h"
#include "menu/menu_tracker_win32.h"
#include "menu/popup_menu_win32.h"
#include "platform/win32/wide.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using menu::ItemKind;
using menu::MenuItemData;
using phrases::CommandDataType;

constexpr int kWidth = 300;
constexpr COLORREF kUntouched = 0x123456;

// A 32-bit bitmap selected into a memory DC, filled with kUntouched.
class Canvas {
public:
    Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        old_ = SelectObject(dc_, CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, {}, 0));
        SelectObject(dc_, GetStockObject(DC_BRUSH));
        SetDCBrushColor(dc_, kUntouched);
        PatBlt(dc_, 0, 0, width, height, PATCOPY);
    }
    ~Canvas() {
        DeleteObject(SelectObject(dc_, old_));
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // The pixels of colour `a` or `b` in `area`.
    int Count(const RECT& area, COLORREF a, COLORREF b = CLR_INVALID) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) count += At(x, y) == a || At(x, y) == b;
        return count;
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

class MenuDrawingWin32Test : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        settings_ = std::make_unique<settings::Settings>();
        // Whole glyph pixels in the text colour, whatever the smoothing setting.
        platform::LogFontBytes font = settings_->Font();
        font[offsetof(LOGFONTW, lfQuality)] = NONANTIALIASED_QUALITY;
        settings_->SetFont(font);
        painter_ = std::make_unique<menu::MenuPainter>(GetModuleHandleW(nullptr), *settings_);
    }
    void TearDown() override {
        painter_.reset();
        PlatformTest::TearDown();
    }

    void Draw(Canvas& canvas, const MenuItemData& item, HMENU menu, RECT rect, UINT state = 0) {
        DRAWITEMSTRUCT draw{ODT_MENU,       0,     item.commandId,
                            ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu),
                            canvas.Dc(),    rect,  reinterpret_cast<ULONG_PTR>(&item)};
        painter_->OnMenuDRAWITEMSTRUCT(draw);
    }
    SIZE Measure(const MenuItemData& item) {
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.commandId,
                                  0,        0, reinterpret_cast<ULONG_PTR>(&item)};
        painter_->OnMenuMEASUREITEM(measure);
        return SIZE{LONG(measure.itemWidth), LONG(measure.itemHeight)};
    }

    std::unique_ptr<settings::Settings> settings_;
    std::unique_ptr<menu::MenuPainter> painter_;
};

MenuItemData Item(const char* label, int index = 0, uint32_t id = 7) {
    MenuItemData item;
    item.label = T(label);
    item.index = index;
    item.commandId = id;
    return item;
}

MenuItemData Separator(const char* tag) {
    MenuItemData item = Item("", 0, 0);
    item.tag = T(tag);
    item.flags = menu::kItemSeparator;
    return item;
}

// The model becomes a popup of owner-drawn items carrying their data. Each
// kind of item of its top level (the tightest, beside the banner) painted into
// its measured width shows all the ink it shows in a far wider rectangle: no
// text is cut short or ellipsised.
TEST_F(MenuDrawingWin32Test, MenuItemsAreMeasuredToHoldTheirPaintedText) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const int h = metrics.iMenuHeight;
    const COLORREF text = GetSysColor(COLOR_MENUTEXT);
    struct Case {
        MenuItemData item;
        COLORREF ink;
        UINT id;
    };
    std::vector<Case> cases = {
        {Item("Insert the greeting"), text, 7},
        {Item("Selection into Phrase", 0, menu::kCmdSaveSelAsPhrase), 0x008000, 32826},
        {Separator("Visit to us"), 0xFF0000, 0},
        {Item("Dear Ann, regards", 0, 5), text, 5},
        {Item("copied text", 0, 2011), GetSysColor(COLOR_INFOTEXT), 2011},
        {Item("Mail", 0, 0), text, UINT(-1)},
        {Item("needs a selection", 0, 6), GetSysColor(COLOR_GRAYTEXT), 6}};
    cases[0].item.iconKey = menu::kIconText;
    cases[0].item.tag = u"+EN";
    cases[3].item.lastUsedIndex = 8;
    cases[4].item.kind = ItemKind::History;
    cases[5].item.flags = menu::kItemOpensSubmenu;
    cases[6].item.grayed = true;
    menu::MenuModel model;
    for (const Case& c : cases) model.items.push_back({c.item.commandId, c.item, nullptr});
    model.items[5].submenu = std::make_unique<menu::MenuModel>();
    model.items[5].submenu->items.push_back({2000, Item("copied", 0, 2000), nullptr});
    HMENU top = menu::CreatePopupFromModel(model);
    ASSERT_EQ(GetMenuItemCount(top), int(cases.size()));
    for (size_t i = 0; i < cases.size(); ++i) {
        const MenuItemData& item = model.items[i].data;
        EXPECT_EQ(menu::ItemDataAt(top, int(i)), &item) << i;
        EXPECT_EQ(GetMenuItemID(top, int(i)), cases[i].id) << i;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoW(top, UINT(i), TRUE, &info));
        EXPECT_EQ(info.fType, item.IsSeparator() ? MFT_OWNERDRAW | MFT_SEPARATOR : MFT_OWNERDRAW);
        // A separator counts as greyed by itself.
        EXPECT_EQ((info.fState & MFS_GRAYED) != 0, item.grayed || item.IsSeparator()) << i;

        auto ink = [&](int width) {  // numbers are drawn in red
            Canvas canvas(kWidth * 2, h + 8);
            painter_->Prepare(top);
            Draw(canvas, item, top, {0, 0, width, h + 8});
            return canvas.Count({0, 0, kWidth * 2, h + 8}, cases[i].ink, 0xFF0000);
        };
        painter_->Prepare(top);
        const SIZE size = Measure(item);
        EXPECT_EQ(size.cy, item.OpensSubmenu() ? h + 8 : h + 4) << i;
        EXPECT_GT(ink(size.cx), 20) << i;
        EXPECT_EQ(ink(size.cx), ink(size.cx + kWidth)) << ToUtf8(item.label + item.tag);
    }
    EXPECT_EQ(menu::ItemDataAt(GetSubMenu(top, 5), 0), &model.items[5].submenu->items[0].data);
    EXPECT_EQ(menu::ItemDataAt(top, int(cases.size())), nullptr);
    DestroyMenu(top);
    EXPECT_EQ(Measure(Separator("")).cy, h * 2 / 3);
}

TEST_F(MenuDrawingWin32Test, PaintsBannerStripesNumbersAndDefaultFrame) {
    // Odd rows a shade darker, or lighter on black.
    const int elements[] = {COLOR_MENU, COLOR_INFOBK};
    const COLORREF saved[] = {GetSysColor(COLOR_MENU), GetSysColor(COLOR_INFOBK)};
    const COLORREF chosen[] = {0x3264C8, 0x000000};
    ASSERT_TRUE(SetSysColors(2, elements, chosen));
    Canvas canvas(kWidth, 192);
    HMENU top = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    painter_->Prepare(top);

    // The first item of the top-level menu draws the band; items there start right of it.
    Draw(canvas, Item("first"), top, {0, 0, kWidth, 24});
    EXPECT_EQ(canvas.At(1, 20), 0xE3E3E3u);
    EXPECT_EQ(canvas.At(21, 20), 0xE3E3E3u);
    EXPECT_EQ(canvas.At(23, 20), kUntouched);
    EXPECT_EQ(canvas.At(kWidth - 2, 12), 0x3264C8u);
    // Once per menu: the next top-level item leaves the band alone.
    Draw(canvas, Item("second", 1), top, {0, 24, kWidth, 48});
    EXPECT_EQ(canvas.At(1, 40), kUntouched);
    EXPECT_EQ(canvas.At(kWidth - 2, 40), 0x2E60C4u);

    // Submenu items: no band; the default item framed and in its own colour.
    MenuItemData recent = Item("recent", 2);
    recent.isDefault = true;
    Draw(canvas, recent, sub, {0, 48, kWidth, 72});
    EXPECT_EQ(canvas.At(0, 48), 0x0000FFu);
    EXPECT_EQ(canvas.At(kWidth / 2, 71), 0x0000FFu);
    EXPECT_EQ(canvas.At(kWidth / 2, 50), 0x3264C8u);
    EXPECT_GT(canvas.Count({2, 50, 120, 70}, 0x0000FF), 0) << "default text colour";

    // History item 2003 is number "4.", in red on the tooltip background.
    MenuItemData history = Item("copied text", 3, 2003);
    history.kind = ItemKind::History;
    Draw(canvas, history, sub, {0, 72, kWidth, 96});
    EXPECT_EQ(canvas.At(kWidth - 2, 84), 0x040404u);
    EXPECT_GT(canvas.Count({0, 72, 40, 96}, 0xFF0000), 0);
    Draw(canvas, Item("copied text", 3, 7), sub, {0, 96, kWidth, 120});
    EXPECT_EQ(canvas.Count({0, 96, kWidth, 120}, 0xFF0000), 0);

    // Selected: the highlight colour whatever the row; extra commands green otherwise.
    Draw(canvas, Item("chosen", 1), sub, {0, 120, kWidth, 144}, ODS_SELECTED);
    EXPECT_EQ(canvas.At(kWidth - 2, 132), GetSysColor(COLOR_HIGHLIGHT));
    Draw(canvas, Item("Edit menu\\settings", 0, menu::kCmdEditSetting), sub, {0, 144, kWidth, 168});
    EXPECT_GT(canvas.Count({0, 144, 150, 168}, 0x008000), 0);

    // A separator's label sits right-aligned on its own background over the black line.
    Draw(canvas, Separator("Other commands"), sub, {0, 168, kWidth, 192});
    EXPECT_EQ(canvas.At(20, 180), 0x000000u);
    EXPECT_GT(canvas.Count({kWidth - 120, 168, kWidth - 3, 192}, 0xFF0000), 0);
    EXPECT_GT(canvas.Count({kWidth - 60, 180, kWidth - 4, 181}, 0x3264C8), 0);
    SetSysColors(2, elements, saved);
    DestroyMenu(top);
    DestroyMenu(sub);
}

// Command lines are painted underlined: the stroke is as long as the text;
// RTF phrases in italics, whose letters lean.
TEST_F(MenuDrawingWin32Test, CommandLinesArePaintedUnderlinedAndRtfItalic) {
    auto typed = [](CommandDataType type) {
        MenuItemData item = Item("iiiiiiiiiiii");
        item.dataType = type;
        return item;
    };
    HMENU sub = CreatePopupMenu();
    Canvas text(kWidth, 24), exec(kWidth, 24), rtf(kWidth, 24);
    Draw(text, typed(CommandDataType::TEXT), sub, {0, 0, kWidth, 24});
    Draw(exec, typed(CommandDataType::EXEC), sub, {0, 0, kWidth, 24});
    Draw(rtf, typed(CommandDataType::RTF), sub, {0, 0, kWidth, 24});
    const COLORREF ink = GetSysColor(COLOR_MENUTEXT);
    const RECT all{0, 0, kWidth, 24};
    EXPECT_GT(exec.Count(all, ink), text.Count(all, ink) + 20);
    int differing = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < kWidth; ++x) differing += text.At(x, y) != rtf.At(x, y);
    EXPECT_GT(differing, 10);
    DestroyMenu(sub);
}

TEST_F(MenuDrawingWin32Test, ItemCommandMenuTextsAndStates) {
    MenuItemData picture = Item("Screenshot of the whole desktop today", 0, 2000);
    picture.kind = ItemKind::History;
    picture.isBitmap = true;
    MenuItemData phrase = Item("Greeting", 0, 9);
    auto texts = [](const MenuItemData& item) {  // greyed ones marked "-"
        HMENU m = menu::CreateItemCommandMenu(item);
        std::vector<std::string> result;
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(m, i, text, 128, MF_BYPOSITION);
            const bool grey = text[0] && (GetMenuState(m, i, MF_BYPOSITION) & MF_GRAYED);
            result.push_back((grey ? "-" : "") + ToUtf8(platform::win32::FromWide(text)) + ":" +
                             std::to_string(int(GetMenuItemID(m, i))));
        }
        DestroyMenu(m);
        return result;
    };
    // Each command's id is its action code + 1; pictures cannot be opened or searched.
    EXPECT_EQ(texts(picture), (std::vector<std::string>{
                                  "Copy:1", "-Open As URL:2", ":0", "Edit:3", "Open With\u2026:4",
                                  ":0", "-Search In Google [Screenshot of the wh\u2026]:5",
                                  "-Search in Yandex [Screenshot of the wh\u2026]:6",
                                  "-Search in Wikipedia [Screenshot of the wh\u2026]:8",
                                  "-Search in MSDN [Screenshot of the wh\u2026]:7"}));
    // Phrases are edited in the phrase editor.
    const auto forPhrase = texts(phrase);
    EXPECT_EQ(std::vector(forPhrase.begin() + 3, forPhrase.begin() + 7),
              (std::vector<std::string>{"-Edit:3", "-Open With\u2026:4", ":0",
                                        "Search In Google [Greeting]:5"}));
}

// A thread timer's procedure: ends each menu that shows, and counts them.
int g_menusEnded = 0;
void CALLBACK EndShownMenu(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32768", nullptr));)
        if (IsWindowVisible(w)) g_menusEnded += EndMenu() ? 1 : 0;
}

TEST_F(MenuDrawingWin32Test, ToolTipOutlivesTheItemCommandMenuAndEndsWithThePhraseMenu) {
    std::vector<int> actions;
    menu::TrackerCallbacks callbacks;
    callbacks.onRightMenuCommand = [&](uint32_t, int action) { actions.push_back(action); };
    menu::MenuTracker tracker(GetModuleHandleW(nullptr), *painter_, callbacks);
    ASSERT_TRUE(tracker.Create(true));
    const HWND tip = FindWindowW(menu::kToolTipClassName, nullptr);
    auto show = [&] {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = tracker.Window();
        tool.uId = 1;
        SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        return IsWindowVisible(tip) != FALSE;
    };
    ASSERT_TRUE(show());
    tracker.HideToolTip();
    EXPECT_FALSE(IsWindowVisible(tip));
    ASSERT_TRUE(show()) << "kept for the next selection";

    // A right click opens the item command menu, here closed unchosen.
    menu::MenuModel model;
    model.items.push_back({3, Item("alpha", 0, 3), nullptr});
    HMENU popup = menu::CreatePopupFromModel(model);
    g_menusEnded = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, EndShownMenu);
    SendMessageW(tracker.Window(), WM_MENURBUTTONUP, 0, reinterpret_cast<LPARAM>(popup));
    KillTimer(nullptr, timer);
    DestroyMenu(popup);
    EXPECT_GE(g_menusEnded, 1);
    EXPECT_TRUE(actions.empty());
    EXPECT_TRUE(IsWindow(tip));
    EXPECT_FALSE(IsWindowVisible(tip)) << "hidden for the item command menu";

    // The phrase menu's own end.
    SendMessageW(tracker.Window(), WM_EXITMENULOOP, TRUE, 0);
    EXPECT_FALSE(IsWindow(tip));
    tracker.Destroy();

    // Beside the item, to its left in the right third, and kept above the screen's bottom.
    auto place = [](RECT item) {
        const POINT at = menu::PlaceTip(item, {150, 40}, {1200, 900}, {1, 1});
        return std::pair(at.x, at.y);
    };
    EXPECT_EQ(place({100, 200, 300, 220}), std::pair(301L, 201L));
    EXPECT_EQ(place({700, 200, 799, 220}), std::pair(800L, 201L));
    EXPECT_EQ(place({700, 200, 800, 220}), std::pair(550L, 201L));
    EXPECT_EQ(place({100, 880, 300, 900}), std::pair(301L, 860L));
}

// A shown window around `at` whose MN_GETHMENU queries are counted.
class CountedWindow {
public:
    CountedWindow(const wchar_t* className, POINT at) : menu_(CreatePopupMenu()) {
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, className, L"", WS_POPUP,
                                at.x - 20, at.y - 20, 40, 40, nullptr, nullptr, nullptr, menu_);
        base_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
        SetPropW(hwnd_, L"wlk.counted", this);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~CountedWindow() {
        DestroyWindow(hwnd_);
        DestroyMenu(menu_);
    }
    HWND Hwnd() const { return hwnd_; }
    std::atomic<int> asked{0};

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<CountedWindow*>(GetPropW(hwnd, L"wlk.counted"));
        if (message == MN_GETHMENU) ++self->asked;
        return CallWindowProcW(self->base_, hwnd, message, wParam, lParam);
    }
    HMENU menu_;
    HWND hwnd_;
    WNDPROC base_;
};

// The menu loop's filter asks only this thread's own menu windows which menu
// they show, never a window of another thread, which may not answer.
TEST_F(MenuDrawingWin32Test, RightClickAsksOnlyThisThreadsMenuWindows) {
    menu::MenuTracker tracker(GetModuleHandleW(nullptr), *painter_, {});
    ASSERT_TRUE(tracker.Create(false));
    const POINT foreign{100, 100}, plain{200, 100}, own{300, 100};
    std::unique_ptr<CountedWindow> other;
    std::atomic<DWORD> otherThread{0};
    std::thread thread([&] {
        other = std::make_unique<CountedWindow>(L"#32768", foreign);
        otherThread = GetCurrentThreadId();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        other.reset();
    });
    ASSERT_TRUE(WaitUntil([&] { return otherThread != 0; }));
    CountedWindow mine(L"Edit", plain), menuWindow(L"#32768", own);
    EXPECT_EQ(WindowFromPoint(foreign), other->Hwnd());
    EXPECT_EQ(WindowFromPoint(plain), mine.Hwnd());
    EXPECT_EQ(WindowFromPoint(own), menuWindow.Hwnd());
    for (POINT pt : {foreign, plain, own}) {
        MSG msg{nullptr, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y), 0, pt};
        CallMsgFilterW(&msg, MSGF_MENU);
    }
    EXPECT_EQ(other->asked, 0) << "another thread's menu window";
    PostThreadMessageW(otherThread, WM_QUIT, 0, 0);
    thread.join();
    EXPECT_EQ(mine.asked, 0) << "no menu window";
    EXPECT_EQ(menuWindow.asked, 1);
}

}  // namespace
}  // namespace wlk::test
