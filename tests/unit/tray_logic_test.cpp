// The tray window's decisions that need no window: hotkeys, open loops,
// WM_COPYDATA commands, change broadcasts and the menu's states.
#include <cstring>
#include <map>
#include <set>

#include "app/change_listeners.h"
#include "app/copy_data_command.h"
#include "app/hotkey.h"
#include "app/insertion_context.h"
#include "app/modal_loops.h"
#include "app/phrase_editor.h"
#include "app/tray_commands.h"
#include "app/tray_menu_states.h"
#include "app/tray_texts.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

TEST(TrayLogic, HotkeySettingAndItsName) {
    // A missing key falls back to Enter, and then missing modifiers to Ctrl+Alt:
    // a key without modifiers would be a bare key for the whole system.
    const std::pair<int, const char16_t*> names[] = {{0, u"Ctrl+Alt+Enter"},
                                                     {4 << 16, u"Shift+Enter"},
                                                     {'Q', u"Ctrl+Alt+Q"},
                                                     {(12 << 16) | 'Q', u"Shift+Win+Q"},
                                                     {(2 << 16) | 0x7B, u"Ctrl+F12"},
                                                     {(1 << 16) | 0x20, u"Alt+Space"}};
    for (auto [setting, name] : names)
        EXPECT_EQ(app::HotkeyText(app::HotkeyFromSetting(setting), false), name) << setting;
}

TEST(TrayLogic, DoublePressActsOnlyOnASecondPressWithin500ms) {
    app::DoublePressRule rule;
    EXPECT_TRUE(rule.Accept(false, 1000));

    EXPECT_FALSE(rule.Accept(true, 10000));
    EXPECT_TRUE(rule.Accept(true, 10400));   // 400 ms apart
    EXPECT_FALSE(rule.Accept(true, 10450));  // a third press starts over
    EXPECT_FALSE(rule.Accept(true, 11050));  // 600 ms apart: only remembered
    EXPECT_TRUE(rule.Accept(true, 11550));   // exactly 500 ms still counts
    // The tick count wraps after 49.7 days.
    EXPECT_FALSE(rule.Accept(true, 0xFFFFFF00u));
    EXPECT_TRUE(rule.Accept(true, 0x00000010u));
}

// An exit or a reload asked for while a menu or dialog runs would pull the
// window or the library from under it: they wait until the last loop ends.
TEST(TrayLogic, ExitAndReloadWaitUntilTheLastOpenLoopHasEnded) {
    std::vector<std::string> done;
    app::ModalLoops loops([&done] { done.push_back("close"); });
    loops.WhenIdle([&done] { done.push_back("now"); });
    loops.CloseAll();
    EXPECT_EQ(done, std::vector<std::string>{"now"}) << "nothing open, nothing closed";
    {
        app::ModalLoops::Scope menu(loops);
        {
            app::ModalLoops::Scope itemMenu(loops);
            loops.CloseAll();
            loops.WhenIdle([&] {
                done.push_back("reload");
                app::ModalLoops::Scope box(loops);  // work may open a loop of its own
                loops.WhenIdle([&done] { done.push_back("after the box"); });
            });
            loops.WhenIdle([&done] { done.push_back("exit"); });
        }
        EXPECT_TRUE(loops.Busy());
        EXPECT_EQ(done, (std::vector<std::string>{"now", "close"}));
    }
    EXPECT_FALSE(loops.Busy());
    EXPECT_EQ(done, (std::vector<std::string>{"now", "close", "reload", "after the box", "exit"}));
}

TEST(TrayLogic, CopyDataCarriesCommandAndArgument) {
    unsigned char data[200] = {};
    int32_t command = -4, argument = 0x10203;
    std::memcpy(data, &command, 4);
    std::memcpy(data + 134, &argument, 4);
    auto parsed = app::ParseCopyDataCommand(data, 138);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(std::pair(parsed->command, parsed->argument), std::pair(-4, 0x10203));
    EXPECT_FALSE(app::ParseCopyDataCommand(data, 137));
    EXPECT_FALSE(app::ParseCopyDataCommand(nullptr, 200));
}

class Recorder : public app::IChangeListener {
public:
    void OnChange(int code, int detail) override { heard.push_back({code, detail}); }
    std::vector<std::pair<int, int>> heard;
};

TEST(TrayLogic, BroadcastSkipsItsSender) {
    Recorder pane, handler;
    auto& listeners = app::ChangeListeners::Instance();
    listeners.Add(&pane);
    listeners.Add(&handler);
    listeners.Add(&pane);
    listeners.Broadcast(app::kSessionChanged, 7, &handler);
    listeners.Broadcast(app::kLanguageChanged, 0);
    listeners.Remove(&pane);
    listeners.Remove(&handler);
    listeners.Broadcast(app::kLanguageChanged, 0);
    EXPECT_EQ(pane.heard, (std::vector<std::pair<int, int>>{{1, 7}, {0, 0}}));
    EXPECT_EQ(handler.heard, (std::vector<std::pair<int, int>>{{0, 0}}));
}

using InsertionContextTest = PlatformTest;

// A command for the window of the last menu call gets that call's facts; one
// for any other window (sent by another process) gets the window's own.
TEST_F(InsertionContextTest, FromTheMenuCallOrFromTheWindowItself) {
    bridge::TargetContext called;
    called.HWND = 0x501;
    called.guiThread.HWND_Active = 0x500;
    called.HKL = 0x04190419;
    called.SelText = u"selected";
    called.WindowClassName = u"Edit";
    called.AppPath = u"C:\\windows\\notepad.exe";
    Sim().clipboard.PutText(0x9, u"copied later");
    // The facts as "layout|selection|clipboard|class|executable", the layout in
    // decimal: 68748313 is 0x04190419, 67699721 is 0x04090409.
    auto facts = [](const bridge::InsertionContext& c) {
        return std::to_string(c.layout) + "|" + ToUtf8(c.selectedText) + "|" +
               ToUtf8(c.clipboardText) + "|" + ToUtf8(c.windowClass) + "|" + ToUtf8(c.executable);
    };
    // The clipboard is read when the menu was called.
    for (platform::WindowId target : {platform::WindowId(0x501), platform::WindowId(0x500)}) {
        auto context = app::InsertionContextFor(target, &called, u"at the call");
        EXPECT_EQ(facts(context), "68748313|selected|at the call|Edit|C:\\windows\\notepad.exe");
        EXPECT_EQ(context.Language(), 0x0419);
    }

    Sim().targets.owners[0x700] = {44, 45};
    Sim().targets.layouts[45] = 0x04090409;
    Sim().targets.processes[44].imagePath = u"C:\\tools\\other.exe";
    Sim().ui.windows[0x700] = u"OtherClass";
    // Here the clipboard is read at the command.
    for (const bridge::TargetContext* last :
         {&called, static_cast<bridge::TargetContext*>(nullptr)}) {
        EXPECT_EQ(facts(app::InsertionContextFor(0x700, last, u"at the call")),
                  "67699721||copied later|OtherClass|C:\\tools\\other.exe");
    }
    // A window that is gone gives no layout, and the inserter its defaults.
    EXPECT_EQ(facts(app::InsertionContextFor(0x7FF, nullptr, u"")), "0||copied later||");
    EXPECT_FALSE(app::ContextIsFor(called, 0)) << "no window is never the called one";
}

TEST(TrayMenuStates, ChecksEnablesAndCountsFromTheFacts) {
    app::TrayMenuFacts facts{.servicesInstalled = true,
                             .delayAutoLoadSeconds = 30,
                             .sounds = true,
                             .phrasesAll = 12,
                             .phrasesShown = 3,
                             .admin = true};
    std::map<uint32_t, Text> texts = {{app::kCmdStartWithWindows, u"Start With Windows (+30sec)"},
                                      {app::kCmdRereadPhrases, u"Reread Phrases  [1/1]"}};
    std::map<uint32_t, app::MenuItemState> byId;
    std::set<uint32_t> checked, disabled;
    auto build = [&] {
        byId.clear(), checked.clear(), disabled.clear();
        for (const auto& s : app::TrayMenuStates(facts, [&](uint32_t id) { return texts[id]; })) {
            byId[s.id] = s;
            if (s.checked) checked.insert(s.id);
            if (!s.enabled) disabled.insert(s.id);
        }
    };
    build();
    EXPECT_EQ(checked, (std::set<uint32_t>{app::kCmdEnableMenuOfPhrases, app::kCmdSounds}));
    EXPECT_EQ(disabled, (std::set<uint32_t>{app::kCmdMenuOnMouseEvent, app::kCmdClearHistory,
                                            app::kCmdSavePhraseFromClipboard,
                                            app::kCmdReKeepHistory, app::kCmdRunAsAdministrator}));
    EXPECT_EQ(byId[app::kCmdStartWithWindows].text, u"Start With Windows (+30sec)")
        << "opening the menu twice shows the delay once";
    EXPECT_EQ(byId[app::kCmdRereadPhrases].text, u"Reread Phrases [12/3]");
    EXPECT_EQ(app::HistorySubmenuText(u"Clipboard History [0/30]", 4, 25),
              u"Clipboard History [4/25]");
}

TEST(TrayTexts, TooltipIsCutTo126Characters) {
    // Its lines are the end-to-end tests'; a long folder is cut.
    app::TrayFacts facts{false, true, u"Ctrl+Alt+Enter [x2]", Text(200, u'p')};
    const Text tooltip = app::TrayTooltip(facts);
    EXPECT_EQ(tooltip.size(), 126u);
    EXPECT_EQ(tooltip.substr(0, 13), u"Wordlark - ON");
    EXPECT_EQ(app::HotkeyBalloon(u"Ctrl+Alt+Enter"),
              u"Press system hot key detected - Ctrl+Alt+Enter\nShowing menu\u2026");
    EXPECT_EQ(app::PhraseEditorParameters(true, true, true), u" /addfromcb /firstrun /addseltext");
    EXPECT_EQ(app::PhraseEditorParameters(false, false, true), u" /addseltext");
}

}  // namespace
}  // namespace wlk::test
