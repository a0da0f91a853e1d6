// The clipboard snapshot and the reading of a selection by a simulated copy,
// against the simulated clipboard, input and windows.
#include "bridge/selection_extract.h"

#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "bridge/clipboard_snapshot.h"
#include "history/own_copy.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::KeyInput;
using platform::WindowId;
using Block = std::vector<uint8_t>;
using Content = std::map<uint32_t, Block>;

constexpr WindowId kOtherApp = 0x4242;
constexpr WindowId kTarget = 0x7001;

Block Utf16Of(std::u16string_view text) {
    const std::string bytes = Utf16Bytes(text) + std::string(2, '\0');
    return Block(bytes.begin(), bytes.end());
}

class SelectionExtractTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        own = clipboard().RegisterFormat(u"Wordlark Test Format");
        rich = {{own, {7, 0, 9}}, {13, Utf16Of(u"before")}, {16, {0x19, 4, 0, 0}}};
    }
    void TearDown() override {
        Sim().ui.onMessage = nullptr;
        Sim().input.onInserted = nullptr;
        history::ClearOwnCopyHandler();
        PlatformTest::TearDown();
    }
    platform::sim::SimClipboard& clipboard() { return Sim().clipboard; }

    // Another program's copy, set in an order that is not the numbers' order.
    void CopyRichly() {
        ASSERT_TRUE(clipboard().Open(kOtherApp) && clipboard().Empty());
        for (uint32_t format : {own, 13u, 16u}) clipboard().SetData(format, rich.at(format));
        clipboard().Close();
    }
    Content Now() {
        Content content;
        EXPECT_TRUE(clipboard().Open(0));
        for (uint32_t format : clipboard().EnumFormats())
            content[format] = clipboard().GetData(format, 1 << 20).value().bytes;
        clipboard().Close();
        return content;
    }

    uint32_t own = 0;
    Content rich;  // text with its locale and a format of its own
};

TEST_F(SelectionExtractTest, SnapshotKeepsEveryReadableFormatAndPutsItBackUnderItsNameNow) {
    CopyRichly();
    // Left out: a bitmap handle, a metafile handle, a block that cannot be locked.
    clipboard().unlockable.insert(0x200);
    ASSERT_TRUE(clipboard().Open(kOtherApp));
    ASSERT_TRUE(clipboard().SetBitmap(*P().bitmaps.FromPixels(1, 1, std::vector<uint32_t>{1})));
    ASSERT_TRUE(clipboard().SetData(3, Block{8, 0, 0, 0}));  // CF_METAFILEPICT
    ASSERT_TRUE(clipboard().SetData(0x200, Block{1}));
    clipboard().Close();

    bridge::ClipboardSnapshot snapshot;
    ASSERT_TRUE(snapshot.Take());

    // The name's registration is lost and another name takes the next number:
    // the data goes back under the number the name registers to now.
    clipboard().PutText(kOtherApp, u"later");
    clipboard().ForgetRegistrations();
    clipboard().RegisterFormat(u"Someone Else's Format");
    ASSERT_TRUE(snapshot.PutBack());
    const uint32_t renumbered = clipboard().FormatId(u"Wordlark Test Format");
    EXPECT_NE(renumbered, own);
    rich[renumbered] = rich.extract(own).mapped();
    EXPECT_EQ(Now(), rich);

    // A clipboard held for a moment is waited for.
    clipboard().openFailures = 9;
    EXPECT_TRUE(snapshot.Take());
    EXPECT_EQ(snapshot.Formats().size(), 3u);

    // Once the new content is wanted, or when there was nothing to save (an
    // empty clipboard, or one another program holds open), PutBack leaves it.
    clipboard().PutText(kOtherApp, u"copied on purpose");
    const uint32_t sequence = clipboard().SequenceNumber();
    snapshot.ClearRestore();
    EXPECT_FALSE(snapshot.PutBack());
    clipboard().heldBy = kOtherApp;
    EXPECT_FALSE(snapshot.Take());
    clipboard().heldBy = 0;
    EXPECT_TRUE(snapshot.RestorePending());
    EXPECT_FALSE(snapshot.PutBack());
    EXPECT_EQ(clipboard().SequenceNumber(), sequence);
}

TEST_F(SelectionExtractTest, SimulatedCopyReadsTheSelectionAndRestoresTheClipboard) {
    constexpr WindowId kTray = 0x100, kHandler = 0x1333;
    std::shared_ptr<platform::Event> stop =
        P().sync.CreateEvent(Text(), true, false, platform::Security::Default);
    history::SetProcessStopEvent(stop);
    history::SetOwnCopyHandler(kHandler);
    CopyRichly();
    const Content before = Now();
    const std::vector<KeyInput> ctrlC{
        {0x11, 0x1D, 0}, {0x43, 0x2E, 0}, {0x43, 0x2E, 2}, {0x11, 0x1D, 2}};
    using Sent = std::tuple<WindowId, uint32_t, uintptr_t, intptr_t, bool>;
    const std::vector<Sent> sent{{kTray, 0x800F, 0, 0, false}, {kTarget, 0x0301, 0, 0, false}};

    struct Case {
        Content copied;    // what the target puts on the clipboard
        bool onKeys;       // the target copies on Ctrl+C, not on WM_COPY
        intptr_t handler;  // the tray window's answer
        Text text;
    };
    const std::vector<Case> cases{
        {{{13, Utf16Of(u"sel\u00E9cted")}, {1, {'x', 0}}}, false, kHandler, u"sel\u00E9cted"},
        {{{1, {'C', 'a', 'f', 0xE9, 0, 'z'}}}, true, kHandler, u"Caf\u00E9"},  // ANSI code page
        {{{13, {0, 0}}, {1, {'a', 'b', 0}}}, false, 0, u"ab"},                 // empty unicode text
        {{}, false, kHandler, u""},                                            // nothing copied
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.text));
        const size_t firstMessage = Sim().ui.Messages().size();
        const size_t firstCall = Sim().input.Calls().size();
        auto copy = [&] { clipboard().Put(kTarget, c.copied); };
        // The clipboard's formats and the own-copy counter when the keys came.
        std::vector<std::pair<size_t, int32_t>> atKeys;
        Sim().input.onInserted = [&](std::span<const KeyInput>) {
            atKeys.emplace_back(clipboard().Formats().size(), history::MyCopyCounter());
            if (c.onKeys) copy();
        };
        Sim().ui.onMessage = [&](const platform::sim::SimMessage& m) -> intptr_t {
            if (m.message == 0x0301 && !c.onKeys) copy();
            return m.message == 0x800F ? c.handler : 0;
        };

        EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), c.text);
        std::vector<Sent> messages;
        for (const auto& m : Sim().ui.Messages())
            messages.emplace_back(m.window, m.message, m.wParam, m.lParam, m.posted);
        EXPECT_EQ(std::vector(messages.begin() + firstMessage, messages.end()), sent);
        const auto calls = Sim().input.Calls();
        ASSERT_EQ(calls.size(), firstCall + 1) << "one call: nothing comes between the keys";
        EXPECT_EQ(calls.back(), ctrlC);
        EXPECT_EQ(atKeys, (std::vector<std::pair<size_t, int32_t>>{{0, c.handler ? 1 : 0}}));
        EXPECT_EQ(Sim().threads.lastSleepMs.exchange(0), 400u);
        EXPECT_EQ(Now(), before) << "the user's clipboard is back, byte for byte";
        // The block ends early on the stop signal; the counter is let down by hand.
        stop->Set();
        Sim().threads.WaitIdle();
        stop->Reset();
        if (c.handler) history::OnDelayUnlock();
    }

    // A target that does not answer does not hold the caller. A clipboard
    // held for a moment is waited for, and comes back; one held by another
    // program cannot be saved, so it is not emptied and no copy is tried.
    Sim().ui.onMessage = nullptr;
    Sim().input.onInserted = nullptr;
    Sim().ui.hungWindows.insert(kTarget);
    const size_t sentBefore = Sim().ui.Messages().size();
    EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), u"");
    EXPECT_EQ(Sim().ui.Messages().size(), sentBefore + 1) << "only the tray window answered";
    EXPECT_EQ(Now(), before);
    const size_t calls = Sim().input.Calls().size();
    clipboard().openFailures = 1;
    EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), u"");
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(Sim().input.Calls().size(), calls + 1);
    clipboard().heldBy = kOtherApp;
    EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), u"");
    EXPECT_EQ(Sim().input.Calls().size(), calls + 1);
    clipboard().heldBy = 0;

    // A second copy that starts while the first waits for the target takes
    // its turn: it neither reads the user's content as a selection nor saves
    // the first one's empty clipboard.
    std::thread second;
    Text secondText = u"unread";
    Sim().threads.onSleep = [&](uint32_t ms) {
        if (ms == 400 && !second.joinable())
            second = std::thread([&] { secondText = bridge::ExtractSelectedText(kTarget, kTray); });
    };
    EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), u"");
    second.join();
    Sim().threads.onSleep = nullptr;
    EXPECT_EQ(secondText, u"");
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(history::MyCopyCounter(), 0);
}

}  // namespace
}  // namespace wlk::test
