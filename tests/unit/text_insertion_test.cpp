// Writing the clipboard, typing, the paste keys, the keyboard-layout switch
// and the insertion of a menu choice, against the simulated clipboard,
// keyboard, input and shell.
#include <gmock/gmock.h>

#include <deque>
#include <string>
#include <vector>

#include "app/menu_commands.h"
#include "bridge/clipboard_write.h"
#include "bridge/foreground.h"
#include "bridge/insert_command.h"
#include "bridge/layout_switch.h"
#include "bridge/paste_keys.h"
#include "bridge/selection_extract.h"
#include "bridge/typing.h"
#include "history/own_copy.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using platform::KeyInput;
using platform::ToggleHotkey;
using Block = std::vector<uint8_t>;
// The clipboard's blocks in the order its formats enumerate.
using Formats = std::vector<std::pair<uint32_t, Block>>;

constexpr platform::WindowId kOtherApp = 0x4242;
constexpr uint16_t kUp = platform::kKeyUp;
constexpr uint16_t kUni = platform::kKeyUnicode;

// A key pressed and released.
std::vector<KeyInput> Tap(uint16_t key, uint16_t scan = 0, uint32_t flags = 0) {
    return {{key, scan, flags}, {key, scan, flags | kUp}};
}
std::vector<KeyInput> Keys(std::initializer_list<std::vector<KeyInput>> parts) {
    std::vector<KeyInput> keys;
    for (const auto& part : parts) keys.insert(keys.end(), part.begin(), part.end());
    return keys;
}

class TextInsertionTest : public LoggedTest {
protected:
    platform::sim::SimClipboard& clipboard() { return Sim().clipboard; }
    Formats Content() {
        Formats content;
        EXPECT_TRUE(clipboard().Open(0));
        for (uint32_t format : clipboard().EnumFormats())
            content.emplace_back(format, clipboard().GetData(format, 1 << 20).value().bytes);
        clipboard().Close();
        return content;
    }
    // Key events and sleeps in the order they happened, e.g. "11 down", "sleep 100".
    void RecordTimeline() {
        Sim().keyboard.onEvent = [this](const KeyInput& key) {
            char line[48];
            std::snprintf(line, sizeof line, "%X %s%s", key.virtualKey,
                          key.flags & kUp ? "up" : "down",
                          key.flags & platform::kKeyExtended ? " ext" : "");
            timeline_.push_back(line);
        };
        Sim().threads.onSleep = [this](uint32_t ms) {
            timeline_.push_back("sleep " + std::to_string(ms));
        };
    }
    std::vector<std::string> timeline_;
};

TEST_F(TextInsertionTest, ClipboardWritesReplaceTheContentAndLeaveNoOwnCopyMark) {
    Sim().keyboard.threadLocale = 0x0419;
    const Block locale{0x19, 0x04, 0, 0};
    const uint32_t own = clipboard().RegisterFormat(u"Quirenote Format");
    clipboard().PutText(kOtherApp, u"theirs");
    const auto theirs = Content();

    const Block data{1, 2, 3};
    ASSERT_TRUE(bridge::SetClipboardBlock(own, data));
    // The block first, for readers that take the first format they know.
    EXPECT_EQ(Content(), (Formats{{own, data}, {16, locale}}));

    // Set in ascending order whatever order the caller had in mind.
    const Block rtf{'{', '}'}, text{'x', 0, 0, 0}, lcid{7, 4, 0, 0};
    ASSERT_TRUE(bridge::SetClipboardFormats({{own, rtf}, {16, lcid}, {13, text}}));
    EXPECT_EQ(Content(), (Formats{{13, text}, {16, lcid}, {own, rtf}}));
    EXPECT_FALSE(bridge::SetClipboardFormats({}));

    // Another program holds the clipboard: nothing changes.
    auto bitmap = P().bitmaps.FromPixels(2, 1, std::vector<uint32_t>{0xFF0000, 0x00FF00});
    clipboard().PutText(kOtherApp, u"theirs");
    clipboard().heldBy = kOtherApp;
    EXPECT_FALSE(bridge::SetClipboardText(u"mine"));
    EXPECT_FALSE(bridge::SetClipboardBlock(own, data));
    EXPECT_FALSE(bridge::SetClipboardFormats({{13, text}}));
    EXPECT_FALSE(bridge::SetClipboardBitmap(*bitmap));
    clipboard().heldBy = 0;
    EXPECT_EQ(Content(), theirs);
    EXPECT_FALSE(clipboard().IsOpen());
    EXPECT_EQ(history::MyCopyCounter(), 0);
}

TEST_F(TextInsertionTest, TypingReleasesCtrlSendsTheTextInOneCallAndResendsWhatWasNotInserted) {
    Sim().input.scanCodes[9] = 0x0F;
    Sim().input.scanCodes[13] = 0x1C;
    ASSERT_TRUE(bridge::DoPrint(u"a\r\nb", 0));
    ASSERT_TRUE(bridge::DoPrint(u"\t\u044f", 2));
    const std::vector<KeyInput> ctrlUp{{0x11, 0, kUp}};
    const std::vector<std::vector<KeyInput>> calls{
        ctrlUp, Keys({Tap(0, 'a', kUni), Tap(13, 0x1C), Tap(10), Tap(0, 'b', kUni)}), ctrlUp,
        Keys({Tap(9, 0x0F), Tap(0, 0x44F, kUni), {{0x10, 0, kUp}}, Tap(0x25), Tap(0x25)})};
    EXPECT_EQ(Sim().input.Calls(), calls);
    EXPECT_FALSE(bridge::DoPrint(u"", 3));
    EXPECT_EQ(Sim().input.Calls().size(), calls.size());

    // The system inserts three events a call: the rest is sent again, then
    // nothing gets through and it gives up.
    const auto all = bridge::TypingInputs(u"abcd", 0);
    Sim().input.insertLimit = 3;
    ASSERT_TRUE(bridge::DoPrint(u"abcd", 0));
    const auto again = Sim().input.Calls();
    const size_t from = calls.size();  // the Ctrl release comes first
    ASSERT_EQ(again.size(), from + 4);
    EXPECT_EQ(again[from + 1], all);
    EXPECT_EQ(again[from + 2], std::vector<KeyInput>(all.begin() + 3, all.end()));
    EXPECT_EQ(again[from + 3], std::vector<KeyInput>(all.begin() + 6, all.end()));
    Sim().input.insertLimit = 0;
    EXPECT_FALSE(bridge::DoPrint(u"abcd", 0));
    EXPECT_EQ(Sim().input.Calls().size(), from + 4 + 1 + 3);
    EXPECT_EQ(Sim().threads.sleeps, 2);
}

TEST_F(TextInsertionTest, PasteKeysReleaseHeldModifiersPasteWaitAndMoveTheCaretInBursts) {
    using bridge::kShiftInsert;
    RecordTimeline();
    Sim().keyboard.keyStates = {{0x10, platform::kKeyStateToggled}, {0x12, 0xFF80}};
    bridge::PasteKeys(5);
    EXPECT_EQ(timeline_, (std::vector<std::string>{
                             "10 up", "12 up", "11 down", "56 down", "56 up", "11 up", "sleep 100",
                             "25 down", "25 up", "25 down", "25 up", "25 down", "sleep 1", "25 up",
                             "25 down", "25 up", "25 down", "25 up"}));

    timeline_.clear();
    Sim().keyboard.keyStates.clear();
    Sim().input.scanCodes[0x2D] = 0x52;
    bridge::PasteKeys(0, kShiftInsert);
    EXPECT_EQ(timeline_, (std::vector<std::string>{"10 down", "2D down ext", "2D up ext", "10 up",
                                                   "sleep 100"}));
    EXPECT_EQ(Sim().keyboard.Events()[17], (KeyInput{0x2D, 0x52, platform::kKeyExtended}));

    for (auto [offset, burst, pauses] :
         {std::tuple{3u, 1u, 1}, {11u, 4u, 2}, {101u, 1u, 50}, {1000u, 10u, 90}}) {
        EXPECT_EQ(bridge::CaretBurst(offset), burst) << offset;
        timeline_.clear();
        bridge::PasteKeys(offset);
        EXPECT_EQ(std::count(timeline_.begin(), timeline_.end(), "sleep 1"), pauses) << offset;
        EXPECT_EQ(std::count(timeline_.begin(), timeline_.end(), "25 up"), offset);
    }

    // Consoles and terminals take Shift+Insert, everything else Ctrl+V.
    using bridge::kCtrlV;
    for (const auto& [cls, exe, combo] : {std::tuple{u"consolewindowclass", u"", kShiftInsert},
                                          {u"", u"C:\\msys64\\usr\\bin\\MINTTY.EXE", kShiftInsert},
                                          {u"Edit", u"C:\\putty.exe\\editor.exe", kCtrlV},
                                          {u"ConsoleWindowClassic", u"cmd.exe", kCtrlV}})
        EXPECT_EQ(bridge::PasteKeysFor(cls, exe), combo) << ToUtf8(Text(cls) + u" " + exe);
}

TEST_F(TextInsertionTest, LayoutSwitchUsesTheUsersToggleKeysAndStopsAtTheWantedLanguage) {
    using State = ToggleHotkey::State;
    for (const auto& [toggle, keys] :
         {std::pair{ToggleHotkey{State::Missing, u""}, std::optional(bridge::kLeftAltShift)},
          {{State::Read, u"2"}, bridge::kLeftCtrlShift},
          {{State::Read, u"4"}, bridge::kGraveAccent},
          {{State::Unreadable, u""}, std::nullopt}})
        EXPECT_EQ(bridge::SwitchKeysOf(toggle), keys) << ToUtf8(toggle.value);

    constexpr uint32_t kThread = 77;
    constexpr platform::WindowId kTarget = 0x7001;
    Sim().targets.owners[kTarget] = {0x900, kThread};
    Sim().targets.layouts[kThread] = 0x04090409;
    Sim().input.scanCodes[0x10] = 0x2A;
    Sim().keyboard.toggle = {State::Read, u"2"};
    // Two layouts: one press, not checked.
    bridge::SwitchKeyboardLayout(0x04190419, kThread, kTarget, 2);
    const std::vector<KeyInput> ctrlShift{
        {0xA2, 0, 0}, {0x10, 0x2A, 0}, {0x10, 0x2A, kUp}, {0xA2, 0, kUp}};
    EXPECT_EQ(Sim().input.Calls(), (std::vector<std::vector<KeyInput>>{ctrlShift}));
    EXPECT_EQ(Sim().threads.sleeps, 0);

    // Another process's window reaches a layout of the language on the second press.
    int presses = 0;
    Sim().input.onInserted = [&](std::span<const KeyInput>) {
        if (++presses == 2) Sim().targets.layouts[kThread] = 0xF0020419;
    };
    Sim().keyboard.toggle = {State::Read, u"4"};
    bridge::SwitchKeyboardLayout(0x04190419, kThread, kTarget, 3);
    EXPECT_EQ(Sim().input.Calls().size(), 3u);
    EXPECT_EQ(Sim().input.Calls()[2][0], (KeyInput{0, 0, 0}));
    EXPECT_EQ(Sim().input.Calls()[2][1].virtualKey, 0xC0);
    EXPECT_EQ(std::tuple(Sim().threads.sleeps.load(), Sim().threads.lastSleepMs.load()),
              std::tuple(2, 200u));
    const auto messages = Sim().ui.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(std::tie(messages[1].window, messages[1].message, messages[1].posted),
              std::tuple(kTarget, 0u, true));

    // The program's own window never switches: one press per layout, no waits.
    Sim().targets.owners[kTarget].processId = Sim().keyboard.processId;
    Sim().keyboard.toggle = {State::Unreadable, u""};
    bridge::SwitchKeyboardLayout(0x04070407, kThread, kTarget, 4);
    EXPECT_EQ(Sim().input.Calls().size(), 3u + 4);
    EXPECT_EQ(Sim().input.Calls().back()[0].virtualKey, 0xA4);
    EXPECT_EQ(Sim().threads.sleeps, 2);
}

// Answers prompts from a list (nothing: Cancel), noting the own-copy counter.
class ScriptedPrompt : public phrases::PromptDialog {
public:
    std::optional<Text> Ask(const Text& promptText, platform::WindowId target) override {
        asked.push_back({promptText, target});
        counters.push_back(history::MyCopyCounter());
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<Text>> answers;
    std::vector<std::pair<Text, platform::WindowId>> asked;
    std::vector<int32_t> counters;
};

// Leaves RTF as it is; its plain text is whatever the test says.
class FixedRtf : public phrases::RtfExpander {
public:
    int ExpandMacrosRtf(Text&, const Text&, const Text&, uint32_t* caret, std::optional<uint16_t>*,
                        uint32_t) override {
        if (caret) *caret = 0;
        return 0;
    }
    Text PlainText(const Text&) override { return plain; }
    Text plain;
};

class InsertCommandTest : public TextInsertionTest {
protected:
    static constexpr platform::WindowId kTarget = 0x7001;
    static constexpr uint32_t kTargetThread = 0x77;

    void SetUp() override {
        TextInsertionTest::SetUp();
        Sim().ui.windows[kTarget] = u"Edit";
        Sim().targets.owners[kTarget] = {0x900, kTargetThread};
        clipboard().PutText(kOtherApp, u"theirs");
        theirs_ = Content();
        snapshot_.Take();
        settings_.emplace();
        queue_.emplace();
        inserter_ = std::make_unique<bridge::CWLKInserter>(bridge::InserterParts{
            tree_, *settings_, snapshot_, rtf_, prompt_, [this] { return &*queue_; },
            [this](int sound) { sounds_.push_back(sound); }});
    }
    uint32_t AddPhrase(Text body, phrases::CommandDataType type = phrases::CommandDataType::TEXT) {
        phrases::CWLKCommand phrase;
        phrase.id = uint32_t(tree_.Commands().size() + 1);
        phrase.name = u"p" + ToText(int(phrase.id));
        phrase.command = std::move(body);
        phrase.dataType = type;
        phrase.SetPath(Dir() + phrase.name + u".wordlark");
        tree_.Commands().push_back(std::move(phrase));
        return tree_.Commands().back().id;
    }
    int Uses(uint32_t id) { return tree_.FindById(id)->GetUsageCount(); }
    bridge::InsertResult Insert(int32_t id, uint32_t layout = 0x04090409,
                                platform::WindowId target = kTarget) {
        bridge::InsertionContext context;
        context.layout = layout;
        return inserter_->InsertCommand(id, target, context, true);
    }
    // What was typed: the Unicode key presses of each typing call.
    std::vector<Text> Typed() {
        std::vector<Text> typed;
        for (const auto& call : Sim().input.Calls()) {
            Text text;
            for (const KeyInput& key : call)
                if (key.flags == kUni) text.push_back(char16_t(key.scanCode));
            if (!text.empty()) typed.push_back(text);
        }
        return typed;
    }
    int Pastes() {
        const auto events = Sim().keyboard.Events();
        return int(std::count(events.begin(), events.end(), KeyInput{0x56, 0, 0}));
    }
    Formats TextContent(std::u16string_view text) {
        Block bytes;
        for (char16_t unit : text) bytes.insert(bytes.end(), {uint8_t(unit), uint8_t(unit >> 8)});
        bytes.insert(bytes.end(), {0, 0});
        return {{13, bytes}, {16, {0x09, 0x04, 0, 0}}};
    }

    phrases::CWLKCommandTree tree_;
    std::optional<settings::Settings> settings_;
    bridge::ClipboardSnapshot snapshot_;
    FixedRtf rtf_;
    ScriptedPrompt prompt_;
    std::optional<history::CCHQueue> queue_;
    std::vector<int> sounds_;
    std::unique_ptr<bridge::CWLKInserter> inserter_;
    Formats theirs_;
};

TEST_F(InsertCommandTest, TextIsTypedBelowTheLengthLimitAndPastedFromItWithinOneOwnCopyScope) {
    settings_->Set(settings::IntSetting::TextPasteMethod, 2);
    settings_->Set(settings::IntSetting::PrintLTChars, 100);
    std::vector<int32_t> counters;
    Sim().input.onInserted = [&](std::span<const KeyInput>) {
        counters.push_back(history::MyCopyCounter());
    };
    Sim().keyboard.onEvent = [&](const KeyInput&) { counters.push_back(history::MyCopyCounter()); };
    const Text typed(99, u'a'), pasted(98, u'b');  // 100 with the two after the caret
    const uint32_t short_ = AddPhrase(typed), long_ = AddPhrase(pasted + u"%CURSOR_POS%cd");

    EXPECT_EQ(Insert(short_), bridge::InsertResult::Phrase);
    EXPECT_EQ(Typed(), std::vector<Text>{typed});
    EXPECT_EQ(Content(), theirs_);
    EXPECT_EQ(Insert(long_), bridge::InsertResult::Phrase);
    EXPECT_EQ(Typed(), std::vector<Text>{typed});
    EXPECT_EQ(Pastes(), 1);
    EXPECT_EQ(Content(), TextContent(pasted + u"cd"));
    const auto events = Sim().keyboard.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), KeyInput{0x25, 0, 0}), 2);

    EXPECT_EQ(std::count(counters.begin(), counters.end(), 0), 0);
    EXPECT_EQ(history::MyCopyCounter(), 0);
    EXPECT_EQ(sounds_, (std::vector<int>{0, 0}));
    EXPECT_EQ(std::tuple(Uses(short_), Uses(long_)), std::tuple(1, 1));
}

TEST_F(InsertCommandTest, RtfGoesOnTheClipboardAsBytesWithItsPlainTextAndLocaleWhenKnown) {
    const uint32_t id = AddPhrase(u"{\\rtf1 x}", phrases::CommandDataType::RTF);
    const Block rtfBytes{'{', '\\', 'r', 't', 'f', '1', ' ', 'x', '}'};
    EXPECT_EQ(Insert(id, 0), bridge::InsertResult::Phrase);
    const uint32_t rtf = clipboard().FormatId(u"Rich Text Format");
    ASSERT_NE(rtf, 0u);
    EXPECT_EQ(Content(), (Formats{{rtf, rtfBytes}}));
    EXPECT_EQ(Insert(id, 0xF0020419), bridge::InsertResult::Phrase);
    EXPECT_EQ(Content(), (Formats{{16, {0x19, 0x04, 0, 0}}, {rtf, rtfBytes}}));
    rtf_.plain = u"x";
    Insert(id, 0);
    EXPECT_EQ(Content(), (Formats{{13, {'x', 0, 0, 0}}, {rtf, rtfBytes}}));
    EXPECT_EQ(Pastes(), 3);
    EXPECT_EQ(Uses(id), 3);
}

TEST_F(InsertCommandTest, HistoryItemsOfTextStayOnTheClipboardAndOthersAreNotFound) {
    settings_->Set(settings::IntSetting::TextPasteMethod, 1);
    auto Add = [&](history::ChType type, std::string_view data) {
        auto item = std::make_unique<history::CCHItem>(type);
        if (type == history::CHT_TEXT_UNICODE) item->SetUnicodeText(T(data));
        if (type == history::CHT_RTF) item->SetAnsiText(data);
        queue_->Append(std::move(item));
    };
    Add(history::CHT_TEXT_UNICODE, "older");
    Add(history::CHT_RTF, "{\\rtf1 r}");
    Add(history::CHT_BITMAP, "");
    Add(history::CHT_HTML, "<b>");
    // Unknown ids, pictures and HTML: the clipboard as it was when the menu was called.
    for (int32_t id : {2000, 2001, 2004, 1999, 0, -1}) {
        clipboard().PutText(kOtherApp, u"selection fetched by a copy");
        EXPECT_EQ(Insert(id), bridge::InsertResult::NotFound) << id;
        EXPECT_EQ(Content(), theirs_) << id;
    }
    EXPECT_EQ(Insert(-4), bridge::InsertResult::Special);
    EXPECT_TRUE(Sim().keyboard.Events().empty());
    EXPECT_TRUE(Sim().input.Calls().empty());

    // Pasted once; then left on the clipboard without another paste.
    EXPECT_EQ(Insert(2003), bridge::InsertResult::HistoryItem);
    EXPECT_EQ(Content(), TextContent(u"older"));
    EXPECT_EQ(Insert(2002), bridge::InsertResult::HistoryItem);
    const uint32_t rtf = clipboard().FormatId(u"Rich Text Format");
    const Block rtfBytes{'{', '\\', 'r', 't', 'f', '1', ' ', 'r', '}'};
    EXPECT_EQ(Content(), (Formats{{rtf, rtfBytes}}));
    EXPECT_EQ(Pastes(), 2);
    EXPECT_EQ(sounds_, (std::vector<int>{0, 0}));
}

TEST_F(InsertCommandTest, PromptsAreAskedInTheirPlaceAndTheFocusGoesBackToTheTarget) {
    const uint32_t id = AddPhrase(u"Dear %PROMPT_TEXT={name}%, %prompt_text={}%%PROMPT_TEXT={x}%!");
    prompt_.answers = {u"Ann", u"", u"Bob"};
    EXPECT_EQ(Insert(id), bridge::InsertResult::Phrase);
    EXPECT_EQ(Typed(), (std::vector<Text>{u"Dear ", u"Ann", u", ", u"Bob", u"!"}));
    using Asked = std::pair<Text, platform::WindowId>;
    EXPECT_EQ(prompt_.asked,
              (std::vector<Asked>{{u"name", kTarget}, {u"", kTarget}, {u"x", kTarget}}));
    EXPECT_EQ(prompt_.counters, (std::vector<int32_t>{1, 1, 1}));
    const std::vector<std::string> giveBack{"attach 1 77", "focus 7001", "detach 1 77"};
    const auto focus = Sim().ui.FocusCalls();
    ASSERT_EQ(focus.size(), 9u);
    EXPECT_EQ(std::vector(focus.end() - 3, focus.end()), giveBack);

    // Cancelled: the prompt gives nothing, the rest arrives; still one use.
    const uint32_t lone = AddPhrase(u"<%PROMPT_TEXT={only}%>");
    prompt_.answers = {std::nullopt};
    EXPECT_EQ(Insert(lone), bridge::InsertResult::Phrase);
    const auto typed = Typed();
    EXPECT_EQ(std::vector(typed.begin() + 5, typed.end()), (std::vector<Text>{u"<", u">"}));
    EXPECT_EQ(Content(), theirs_);
    EXPECT_EQ(Uses(lone), 1);
    EXPECT_EQ(sounds_, (std::vector<int>{0, 0}));

    // A tag prompt shows both tags, then inserts the answer.
    bridge::RegisteredFormat format(u"Rich Text Format");
    bridge::ActionEnvironment env{
        .rtf = rtf_, .prompt = prompt_, .rtfFormat = format, .pasteMethod = 0};
    bridge::CWLKAction_Prompt tag(env, u"tag?", true, 0);
    prompt_.answers = {u"<b"};
    EXPECT_TRUE(tag.Execute(kTarget));
    EXPECT_EQ(std::tie(tag.openingTag, tag.closingTag), std::tuple(Text(u"<b>"), Text(u"</b>")));
    ASSERT_EQ(Sim().ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(Sim().ui.MessageBoxes()[0].text, u"Opened Tag: <b>\r\nClosed Tag: </b>");
    EXPECT_EQ(Typed().back(), u"<b");
}

// (Command-line phrases are the end-to-end tests'.)
TEST_F(InsertCommandTest, LayoutMacrosSwitchOnlyToAnotherLanguage) {
    Sim().keyboard.layouts = {0x04190419, 0x04090409};
    Sim().targets.layouts[kTargetThread] = 0x04190419;
    const uint32_t english = AddPhrase(u"%ACTIVATE_KL_EN%Hi");
    EXPECT_EQ(Insert(english, 0x04090409), bridge::InsertResult::Phrase);
    EXPECT_EQ(Sim().input.Calls().size(), 2u);
    EXPECT_EQ(Insert(english, 0x04190419), bridge::InsertResult::Phrase);
    const auto calls = Sim().input.Calls();
    ASSERT_EQ(calls.size(), 2u + 3);
    EXPECT_EQ(calls[2], bridge::SwitchInputs(bridge::kLeftAltShift));
    EXPECT_EQ(Typed(), (std::vector<Text>{u"Hi", u"Hi"}));
}

TEST_F(InsertCommandTest, RefusedClipboardAndVanishedTargetStillInsertTheRestAndKeepTheUsersCopy) {
    auto log = OpenLog();
    settings_->Set(settings::IntSetting::TextPasteMethod, 1);
    const uint32_t id = AddPhrase(u"one%PROMPT_TEXT={q}%two");
    prompt_.answers = {u"mid"};
    clipboard().openFailures = 1;
    Sim().ui.windows.clear();
    EXPECT_EQ(Insert(id), bridge::InsertResult::Phrase);
    EXPECT_EQ(prompt_.asked, (std::vector<std::pair<Text, platform::WindowId>>{{u"q", 0}}));
    EXPECT_EQ(Pastes(), 2);
    EXPECT_EQ(Content(), theirs_);
    EXPECT_EQ(Uses(id), 1);
    EXPECT_EQ(history::MyCopyCounter(), 0);
    const std::string text = log();
    EXPECT_NE(text.find("CWLKAction_TextCommon::MutiCopy_Impl::Cannot set to clipboard"),
              std::string::npos);
    EXPECT_NE(text.find("] mid"), std::string::npos);
}

TEST_F(InsertCommandTest, OnlyTheMenuCallThatTookTheSnapshotPutsItBack) {
    settings_->Set(settings::IntSetting::TextPasteMethod, 1);
    app::CWLKMenuCommands commands(*inserter_, snapshot_, {});
    const auto id = int32_t(AddPhrase(u"phrase"));
    bridge::TargetContext called;
    called.HWND = kTarget;
    commands.OnMenuCalled();
    EXPECT_EQ(commands.Run(id, kTarget, &called, true), bridge::InsertResult::Phrase);
    EXPECT_EQ(bridge::ReadClipboardText(), u"phrase");

    // A later command without a menu puts nothing back.
    clipboard().PutText(kOtherApp, u"copied since");
    const auto since = Content();
    EXPECT_EQ(commands.Run(4321, kTarget, nullptr, true), bridge::InsertResult::NotFound);
    EXPECT_EQ(Content(), since);

    // A cancelled menu puts back what its own call found, once.
    commands.OnMenuCalled();
    clipboard().PutText(kOtherApp, u"selection fetched by a copy");
    EXPECT_EQ(commands.Run(-1, kTarget, nullptr, true), bridge::InsertResult::Special);
    EXPECT_EQ(Content(), since);
    clipboard().PutText(kOtherApp, u"copied last");
    EXPECT_EQ(commands.Run(-1, kTarget, nullptr, true), bridge::InsertResult::Special);
    EXPECT_EQ(bridge::ReadClipboardText(), u"copied last");
}

TEST_F(TextInsertionTest, ForegroundGoesToOurWindowAndBackThroughTheOwnersThreadInput) {
    constexpr platform::WindowId kMenu = 0x9001, kTarget = 0x7001;
    Sim().ui.windows = {{kMenu, u"Tray"}, {kTarget, u"Notepad"}};
    Sim().targets.owners[kTarget] = {0x900, 0x77};
    Sim().targets.foreground = kTarget;
    {
        bridge::CAutoForegroundWindow front(kMenu);
        EXPECT_EQ(Sim().ui.FocusCalls(),
                  (std::vector<std::string>{"attach 1 77", "foreground 9001", "detach 1 77"}));
        front.End();
    }
    EXPECT_EQ(Sim().ui.FocusCalls().size(), 6u);
    EXPECT_EQ(Sim().ui.FocusCalls()[4], "foreground 7001");

    Sim().ui.unattachable = {0x77};
    EXPECT_FALSE(bridge::FocusTargetWindow(kTarget));
    EXPECT_FALSE(bridge::FocusTargetWindow(0x5555));
    EXPECT_EQ(Sim().ui.FocusCalls().size(), 6u);
}

}  // namespace
}  // namespace wlk::test
