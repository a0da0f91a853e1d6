// The phrase menu's owner drawing painted into a memory bitmap, the model
// appended to a real popup menu, and the tracker window with its key and
// right-click handling.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
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
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        HBRUSH fill = CreateSolidBrush(kUntouched);
        FillRect(dc_, &all, fill);
        DeleteObject(fill);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    bool Contains(const RECT& area, COLORREF colour) const {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) == colour) return true;
        return false;
    }
    // The longest horizontal run of pixels other than `back` in `area`.
    int LongestRun(const RECT& area, COLORREF back) const {
        int longest = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left, run = 0; x < area.right; ++x) {
                run = At(x, y) == back ? 0 : run + 1;
                longest = std::max(longest, run);
            }
        }
        return longest;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

class MenuDrawingWin32Test : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        settings_ = std::make_unique<settings::Settings>();
        // Whole glyph pixels in the text colour, whatever the smoothing setting.
        platform::LogFontBytes font = settings_->Font();
        LOGFONTW logFont;
        std::memcpy(&logFont, font.data(), sizeof logFont);
        logFont.lfQuality = NONANTIALIASED_QUALITY;
        std::memcpy(font.data(), &logFont, sizeof logFont);
        settings_->SetFont(font);
        painter_ = std::make_unique<menu::MenuPainter>(GetModuleHandleW(nullptr), *settings_);
    }
    void TearDown() override {
        painter_.reset();
        PlatformTest::TearDown();
    }

    void Draw(Canvas& canvas, const MenuItemData& item, HMENU menu, RECT rect, UINT state = 0) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = item.commandId;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = reinterpret_cast<HWND>(menu);
        draw.hDC = canvas.Dc();
        draw.rcItem = rect;
        draw.itemData = reinterpret_cast<ULONG_PTR>(&item);
        painter_->OnMenuDRAWITEMSTRUCT(draw);
    }
    SIZE Measure(const MenuItemData& item) {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = item.commandId;
        measure.itemData = reinterpret_cast<ULONG_PTR>(&item);
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

// Each kind of item of the top-level menu (the tightest, beside the banner)
// painted into its measured width shows all the ink it shows in a far wider
// rectangle: no text is cut short or ellipsised.
TEST_F(MenuDrawingWin32Test, MeasuredItemsHoldTheirPaintedText) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const int h = metrics.iMenuHeight;
    struct Case {
        MenuItemData item;
        COLORREF ink;
        COLORREF numberInk = 0xFFFFFFFF;
    };
    std::vector<Case> cases = {
        {Item("Insert the greeting"), GetSysColor(COLOR_MENUTEXT)},
        {Item("Selection into Phrase", 0, menu::kCmdSaveSelAsPhrase), 0x008000},
        {Separator("Visit to us"), 0xFF0000},
        {Item("Dear Ann, regards", 0, 5), GetSysColor(COLOR_MENUTEXT), 0xFF0000},
        {Item("copied text", 0, 2011), GetSysColor(COLOR_INFOTEXT), 0xFF0000},
    };
    cases[0].item.iconKey = menu::kIconText;
    cases[0].item.tag = u"+EN";
    cases[3].item.lastUsedIndex = 8;
    cases[4].item.kind = ItemKind::History;
    menu::MenuModel model;
    for (const Case& c : cases) model.items.push_back({c.item.commandId, c.item, nullptr});
    HMENU top = menu::CreatePopupFromModel(model);
    for (size_t i = 0; i < cases.size(); ++i) {
        const MenuItemData& item = model.items[i].data;
        auto ink = [&](int width) {
            Canvas canvas(600, h + 4);
            painter_->Prepare(top);
            Draw(canvas, item, top, {0, 0, width, h + 4});
            int count = 0;
            for (int y = 0; y < h + 4; ++y)
                for (int x = 0; x < 600; ++x)
                    count += canvas.At(x, y) == cases[i].ink || canvas.At(x, y) == cases[i].numberInk;
            return count;
        };
        painter_->Prepare(top);
        const SIZE size = Measure(item);
        EXPECT_EQ(size.cy, h + 4) << i;
        EXPECT_GT(ink(size.cx), 20) << i << " " << size.cx;
        EXPECT_EQ(ink(size.cx), ink(size.cx + 300)) << ToUtf8(item.label + item.tag);
    }
    DestroyMenu(top);

    MenuItemData group = Item("Group", 0, 0);
    group.flags = menu::kItemOpensSubmenu;
    EXPECT_EQ(Measure(Separator("")).cy, h * 2 / 3);
    EXPECT_EQ(Measure(group).cy, h + 8);
}

TEST_F(MenuDrawingWin32Test, PaintsBannerStripesNumbersAndDefaultFrame) {
    Canvas canvas(kWidth, 240);
    HMENU top = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    painter_->Prepare(top);
    const COLORREF menuBack = GetSysColor(COLOR_MENU);
    const COLORREF infoBack = GetSysColor(COLOR_INFOBK);
    auto tint = [](COLORREF c) {
        if (c == 0) return RGB(4, 4, 4);
        auto down = [](int v) { return v < 4 ? 0 : v - 4; };
        return RGB(down(GetRValue(c)), down(GetGValue(c)), down(GetBValue(c)));
    };

    // The first item of the top-level menu draws the band; items there start right of it.
    Draw(canvas, Item("first"), top, {0, 0, kWidth, 24});
    EXPECT_EQ(canvas.At(1, 20), 0xE3E3E3u);
    EXPECT_EQ(canvas.At(21, 20), 0xE3E3E3u);
    EXPECT_EQ(canvas.At(23, 20), kUntouched);
    EXPECT_EQ(canvas.At(kWidth - 2, 12), menuBack);
    // Once per menu: the next top-level item leaves the band alone.
    Draw(canvas, Item("second", 1), top, {0, 24, kWidth, 48});
    EXPECT_EQ(canvas.At(1, 40), kUntouched);
    EXPECT_EQ(canvas.At(kWidth - 2, 40), tint(menuBack));

    // Submenu items: no band, odd rows tinted, the default item framed.
    Draw(canvas, Item("odd", 3), sub, {0, 48, kWidth, 72});
    EXPECT_EQ(canvas.At(1, 60), tint(menuBack));
    MenuItemData recent = Item("recent", 2);
    recent.isDefault = true;
    Draw(canvas, recent, sub, {0, 72, kWidth, 96});
    EXPECT_EQ(canvas.At(0, 72), 0x0000FFu);
    EXPECT_EQ(canvas.At(kWidth / 2, 95), 0x0000FFu);
    EXPECT_EQ(canvas.At(kWidth / 2, 74), menuBack);
    EXPECT_TRUE(canvas.Contains({2, 74, 120, 94}, 0x0000FF)) << "default text colour";

    // History item 2003 is number "4.", in its own colour on the tooltip background.
    MenuItemData history = Item("copied text", 3, 2003);
    history.kind = ItemKind::History;
    Draw(canvas, history, sub, {0, 96, kWidth, 120});
    EXPECT_EQ(canvas.At(kWidth - 2, 108), tint(infoBack));
    EXPECT_TRUE(canvas.Contains({0, 96, 40, 120}, 0xFF0000));
    MenuItemData plain = Item("copied text", 3, 7);
    Draw(canvas, plain, sub, {0, 120, kWidth, 144});
    EXPECT_FALSE(canvas.Contains({0, 120, kWidth, 144}, 0xFF0000));

    // Selected: the highlight colour whatever the row; extra commands green otherwise.
    Draw(canvas, Item("chosen", 1), sub, {0, 144, kWidth, 168}, ODS_SELECTED);
    EXPECT_EQ(canvas.At(kWidth - 2, 156), GetSysColor(COLOR_HIGHLIGHT));
    Draw(canvas, Item("Edit menu\\settings", 0, menu::kCmdEditSetting), sub, {0, 168, kWidth, 192});
    EXPECT_TRUE(canvas.Contains({0, 168, 150, 192}, 0x008000));

    // A separator's label sits right-aligned on its own background over the black line.
    Draw(canvas, Separator("Other commands"), sub, {0, 192, kWidth, 216});
    EXPECT_EQ(canvas.At(20, 204), 0x000000u);
    EXPECT_TRUE(canvas.Contains({kWidth - 120, 192, kWidth - 3, 216}, 0xFF0000));
    EXPECT_TRUE(canvas.Contains({kWidth - 60, 204, kWidth - 4, 205}, menuBack));
    DestroyMenu(top);
    DestroyMenu(sub);
}

TEST_F(MenuDrawingWin32Test, CommandLinesUnderlinedRtfItalicExtraCommandsBold) {
    struct Case {
        MenuItemData item;
        menu::FontStyle style;
    };
    auto typed = [](CommandDataType type, ItemKind kind = ItemKind::Phrase) {
        MenuItemData item = Item("iiiiiiiiiiii");
        item.dataType = type;
        item.kind = kind;
        return item;
    };
    const std::vector<Case> cases = {
        {typed(CommandDataType::TEXT), {}},
        {typed(CommandDataType::EXEC), {.underline = true}},
        {typed(CommandDataType::RTF), {.italic = true}},
        {typed(CommandDataType::EXEC, ItemKind::History), {}},
        {Item("Technical Support", 0, menu::kCmdSupport), {.bold = true}},
    };
    for (const Case& c : cases) EXPECT_TRUE(menu::FontStyleOf(c.item) == c.style) << ToUtf8(c.item.label);

    // As painted: only the underline joins the narrow letters into one long stroke.
    HMENU sub = CreatePopupMenu();
    painter_->Prepare(nullptr);
    const COLORREF back = GetSysColor(COLOR_MENU);
    auto paint = [&](const MenuItemData& item, Canvas& canvas) {
        Draw(canvas, item, sub, {0, 0, kWidth, 24});
        return canvas.LongestRun({0, 1, kWidth - 1, 23}, back);
    };
    Canvas text(kWidth, 24), exec(kWidth, 24), rtf(kWidth, 24);
    const int textRun = paint(cases[0].item, text);
    EXPECT_GT(paint(cases[1].item, exec), textRun + 20);
    EXPECT_LT(paint(cases[2].item, rtf), textRun + 5);
    int differing = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < kWidth; ++x) differing += text.At(x, y) != rtf.At(x, y);
    EXPECT_GT(differing, 10) << "italic letters lean";
    DestroyMenu(sub);
}

TEST_F(MenuDrawingWin32Test, ModelBecomesOwnerDrawnPopupWithItsData) {
    menu::MenuModel model;
    auto add = [](menu::MenuModel& to, uint32_t id, MenuItemData data) -> menu::MenuEntry& {
        to.items.push_back({id, std::move(data), nullptr});
        return to.items.back();
    };
    MenuItemData greyed = Item("needs a selection", 0, 5);
    greyed.grayed = true;
    add(model, 5, greyed);
    add(model, 0, Separator("Clipboard History"));
    menu::MenuEntry& group = add(model, 0, Item("History", 2, 0));
    group.data.flags = menu::kItemOpensSubmenu;
    group.submenu = std::make_unique<menu::MenuModel>();
    add(*group.submenu, 2000, Item("copied", 0, 2000));
    add(model, menu::kCmdEditSetting, Item("Edit menu\\settings", 3, menu::kCmdEditSetting));

    HMENU popup = menu::CreatePopupFromModel(model);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    const std::vector<UINT> ids = {5, 0, UINT(-1), menu::kCmdEditSetting};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(GetMenuItemID(popup, i), ids[i]) << i;
        EXPECT_EQ(menu::ItemDataAt(popup, i), &model.items[i].data) << i;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, i == 1) << i;
        if (i != 1) {  // a separator counts as greyed by itself
            EXPECT_EQ((info.fState & MFS_GRAYED) != 0, i == 0) << i;
        }
    }
    HMENU sub = GetSubMenu(popup, 2);
    ASSERT_NE(sub, nullptr);
    ASSERT_EQ(GetMenuItemCount(sub), 1);
    EXPECT_EQ(GetMenuItemID(sub, 0), 2000u);
    EXPECT_EQ(menu::ItemDataAt(sub, 0), &group.submenu->items[0].data);
    EXPECT_EQ(menu::ItemDataAt(popup, 4), nullptr);
    DestroyMenu(popup);
}

TEST_F(MenuDrawingWin32Test, TrackerWindowHandsTypedKeysOverAndKeepsTheChoice) {
    struct KeyCall {
        char16_t ch = 0;
        std::vector<const MenuItemData*> level;
        int selected = -2;
    } call;
    menu::MenuKeyResult answer;
    menu::TrackerCallbacks callbacks;
    callbacks.onMenuKey = [&](char16_t ch, const std::vector<const MenuItemData*>& level,
                              int selected) {
        call = {ch, level, selected};
        return answer;
    };
    menu::MenuTracker tracker(GetModuleHandleW(nullptr), *painter_, callbacks);
    ASSERT_TRUE(tracker.Create(false));
    const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, menu::kTrackerClassName, nullptr);
    EXPECT_EQ(window, tracker.Window());
    EXPECT_EQ(FindWindowW(menu::kToolTipClassName, nullptr), nullptr) << "tooltips are off";

    menu::MenuModel model;
    model.items.push_back({3, Item("alpha", 0, 3), nullptr});
    model.items.push_back({4, Item("beta", 1, 4), nullptr});
    HMENU popup = menu::CreatePopupFromModel(model);
    auto key = [&](menu::MenuKeyResult::Action action, uint32_t id, int position) {
        answer = {action, id, position};
        return SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(u'b', MF_POPUP),
                            reinterpret_cast<LPARAM>(popup));
    };
    EXPECT_EQ(key(menu::MenuKeyResult::Action::Select, 0, 1), MAKELRESULT(1, MNC_SELECT));
    EXPECT_EQ(call.ch, u'b');
    EXPECT_EQ(call.selected, -1);
    EXPECT_EQ(call.level, (std::vector<const MenuItemData*>{&model.items[0].data, &model.items[1].data}));
    EXPECT_EQ(key(menu::MenuKeyResult::Action::None, 0, -1), MAKELRESULT(0, MNC_IGNORE));
    EXPECT_EQ(tracker.KeyChoice(), 0u);
    EXPECT_EQ(key(menu::MenuKeyResult::Action::Choose, 4, -1), MAKELRESULT(0, MNC_CLOSE));
    EXPECT_EQ(tracker.KeyChoice(), 4u);
    DestroyMenu(popup);
    tracker.Destroy();
    EXPECT_EQ(tracker.Window(), nullptr);
}

TEST_F(MenuDrawingWin32Test, ItemCommandMenuTextsAndStates) {
    // Pictures cannot be opened or searched, phrases not edited.
    MenuItemData picture = Item("Screenshot of the whole desktop today", 0, 2000);
    picture.kind = ItemKind::History;
    picture.isBitmap = true;
    MenuItemData phrase = Item("Greeting", 0, 9);
    auto texts = [](HMENU m) {
        std::vector<std::string> result;
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(m, i, text, 128, MF_BYPOSITION);
            // Separators count as greyed by themselves.
            const bool grey = text[0] && (GetMenuState(m, i, MF_BYPOSITION) & MF_GRAYED);
            result.push_back((grey ? "-" : "") + ToUtf8(platform::win32::FromWide(text)));
        }
        return result;
    };
    HMENU forPicture = menu::CreateItemCommandMenu(picture);
    EXPECT_EQ(texts(forPicture), (std::vector<std::string>{
                                     "Copy", "-Open As URL", "", "Edit", "Open With\u2026", "",
                                     "-Search In Google [Screenshot of the wh\u2026]",
                                     "-Search in Yandex [Screenshot of the wh\u2026]",
                                     "-Search in Wikipedia [Screenshot of the wh\u2026]",
                                     "-Search in MSDN [Screenshot of the wh\u2026]"}));
    EXPECT_EQ(GetMenuItemID(forPicture, 9), UINT(menu::kActionMsdn + 1));
    EXPECT_EQ(GetMenuItemID(forPicture, 8), UINT(menu::kActionWikipedia + 1));
    HMENU forPhrase = menu::CreateItemCommandMenu(phrase);
    EXPECT_EQ(texts(forPhrase)[3], "-Edit");
    EXPECT_EQ(texts(forPhrase)[4], "-Open With\u2026");
    EXPECT_EQ(texts(forPhrase)[6], "Search In Google [Greeting]");
    DestroyMenu(forPicture);
    DestroyMenu(forPhrase);
    MenuItemData group = Item("Group", 0, 0);
    group.flags = menu::kItemOpensSubmenu;
    EXPECT_TRUE(menu::HasItemCommands(phrase));
    EXPECT_FALSE(menu::HasItemCommands(group));
    EXPECT_FALSE(menu::HasItemCommands(Separator("")));
    EXPECT_FALSE(menu::HasItemCommands(Item("Technical Support", 0, menu::kCmdSupport)));
}

// Ends the item command menu once it shows; counts the menus ended.
int g_menusEnded = 0;
void CALLBACK EndShownMenu(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32768", nullptr));) {
        if (IsWindowVisible(w)) {
            ++g_menusEnded;
            EndMenu();
        }
    }
}

TEST_F(MenuDrawingWin32Test, ToolTipOutlivesTheItemCommandMenuAndEndsWithThePhraseMenu) {
    std::vector<int> actions;
    menu::TrackerCallbacks callbacks;
    callbacks.onRightMenuCommand = [&](uint32_t, int action) { actions.push_back(action); };
    menu::MenuTracker tracker(GetModuleHandleW(nullptr), *painter_, callbacks);
    ASSERT_TRUE(tracker.Create(true));
    const HWND tip = FindWindowW(menu::kToolTipClassName, nullptr);
    ASSERT_NE(tip, nullptr);
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

    // A right click opens the item command menu, which closes unchosen.
    menu::MenuModel model;
    model.items.push_back({3, Item("alpha", 0, 3), nullptr});
    HMENU popup = menu::CreatePopupFromModel(model);
    g_menusEnded = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, EndShownMenu);
    SendMessageW(tracker.Window(), WM_MENURBUTTONUP, 0, reinterpret_cast<LPARAM>(popup));
    KillTimer(nullptr, timer);
    EXPECT_GE(g_menusEnded, 1);
    EXPECT_TRUE(actions.empty());
    EXPECT_TRUE(IsWindow(tip));
    EXPECT_FALSE(IsWindowVisible(tip)) << "hidden while the item command menu is open";
    DestroyMenu(popup);

    // The phrase menu's own end.
    SendMessageW(tracker.Window(), WM_EXITMENULOOP, TRUE, 0);
    EXPECT_FALSE(IsWindow(tip));
    tracker.Destroy();

    // Beside the item, to its left in the right third, and kept above the screen's bottom.
    const SIZE size{150, 40}, screen{1200, 900}, border{1, 1};
    auto place = [&](RECT item) {
        const POINT at = menu::PlaceTip(item, size, screen, border);
        return std::pair(at.x, at.y);
    };
    EXPECT_EQ(place({100, 200, 300, 220}), std::pair(301L, 201L));
    EXPECT_EQ(place({700, 200, 799, 220}), std::pair(800L, 201L));
    EXPECT_EQ(place({700, 200, 800, 220}), std::pair(550L, 201L));
    EXPECT_EQ(place({100, 880, 300, 900}), std::pair(301L, 860L));
}

// A visible window at `at` of `className`, whose MN_GETHMENU queries are counted.
class CountedWindow {
public:
    CountedWindow(const wchar_t* className, POINT at) {
        hwnd_ = CreateWindowExW(WS_EX_TOPMOST, className, L"", WS_POPUP | WS_VISIBLE, at.x - 20,
                                at.y - 20, 40, 40, nullptr, nullptr, nullptr, CreatePopupMenu());
        base_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
        SetPropW(hwnd_, L"wlk.counted", this);
    }
    ~CountedWindow() { DestroyWindow(hwnd_); }
    HWND Hwnd() const { return hwnd_; }
    std::atomic<int> asked{0};

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<CountedWindow*>(GetPropW(hwnd, L"wlk.counted"));
        if (message == MN_GETHMENU) ++self->asked;
        return CallWindowProcW(self->base_, hwnd, message, wParam, lParam);
    }
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
    for (int i = 0; i < 500 && !otherThread; ++i) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, 0);
    CountedWindow mine(L"Edit", plain);
    CountedWindow menuWindow(L"#32768", own);
    auto rightClickAt = [](POINT pt) {
        MSG msg{nullptr, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y), 0, pt};
        CallMsgFilterW(&msg, MSGF_MENU);
    };
    EXPECT_EQ(WindowFromPoint(foreign), other->Hwnd());
    EXPECT_EQ(WindowFromPoint(plain), mine.Hwnd());
    EXPECT_EQ(WindowFromPoint(own), menuWindow.Hwnd());
    rightClickAt(foreign);
    rightClickAt(plain);
    rightClickAt(own);
    EXPECT_EQ(other->asked, 0) << "another thread's menu window";
    PostThreadMessageW(otherThread, WM_QUIT, 0, 0);
    thread.join();
    EXPECT_EQ(mine.asked, 0) << "no menu window";
    EXPECT_EQ(menuWindow.asked, 1);
    tracker.Destroy();
}

}  // namespace
}  // namespace wlk::test
