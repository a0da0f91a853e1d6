// The clipboard snapshot and the reading of a selection by a simulated copy,
// against the simulated clipboard, input and windows.
#include <map>
#include <memory>
#include <vector>

#include "bridge/clipboard_snapshot.h"
#include "bridge/selection_extract.h"
#include "history/own_copy.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using bridge::ClipboardSnapshot;
using platform::KeyInput;
using platform::WindowId;
using Block = std::vector<uint8_t>;
using Content = std::map<uint32_t, Block>;

constexpr WindowId kOtherApp = 0x4242;
constexpr WindowId kTray = 0x100;
constexpr WindowId kHandler = 0x1333;
constexpr WindowId kTarget = 0x7001;

Block Utf16Of(std::u16string_view text) {
    const std::string bytes = Utf16Bytes(text);
    Block block(bytes.begin(), bytes.end());
    block.insert(block.end(), {0, 0});
    return block;
}

class SelectionExtractTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        custom = clipboard().RegisterFormat(u"Wordlark Test Format");
    }
    void TearDown() override {
        Sim().ui.onMessage = nullptr;
        Sim().input.onInserted = nullptr;
        history::ClearOwnCopyHandler();
        PlatformTest::TearDown();
    }
    platform::sim::SimClipboard& clipboard() { return Sim().clipboard; }

    // Another program's copy, its formats set in this order.
    void CopyElsewhere(const std::vector<std::pair<uint32_t, Block>>& formats) {
        ASSERT_TRUE(clipboard().Open(kOtherApp));
        ASSERT_TRUE(clipboard().Empty());
        for (const auto& [format, bytes] : formats) ASSERT_TRUE(clipboard().SetData(format, bytes));
        clipboard().Close();
    }
    // A copy of text with its locale and a format of its own, in an order
    // that is not the numbers' order.
    void CopyRichly() {
        CopyElsewhere({{custom, {7, 0, 9}}, {platform::kCfUnicodeText, Utf16Of(u"before")},
                       {platform::kCfLocale, {0x19, 0x04, 0, 0}}});
    }
    Content Now() {
        Content content;
        EXPECT_TRUE(clipboard().Open(0));
        for (uint32_t format : clipboard().EnumFormats())
            content[format] = clipboard().GetData(format, 1 << 20).value().bytes;
        clipboard().Close();
        return content;
    }

    uint32_t custom = 0;
};

TEST_F(SelectionExtractTest, SnapshotKeepsEveryReadableFormatAndPutsItBackUnderItsNameNow) {
    auto bitmap = P().bitmaps.FromPixels(1, 1, std::vector<uint32_t>{0xFF0000});
    CopyRichly();
    ASSERT_TRUE(clipboard().Open(kOtherApp));
    ASSERT_TRUE(clipboard().SetBitmap(*bitmap));
    clipboard().Close();
    const uint32_t hidden = clipboard().RegisterFormat(u"Locked Away");
    clipboard().unlockable.insert(hidden);
    ASSERT_TRUE(clipboard().Open(kOtherApp));
    ASSERT_TRUE(clipboard().SetData(hidden, Block{1}));
    // CF_METAFILEPICT: a block, but one holding a metafile handle.
    ASSERT_TRUE(clipboard().SetData(3, Block{8, 0, 0, 0}));
    clipboard().Close();

    ClipboardSnapshot snapshot;
    snapshot.Take();
    EXPECT_TRUE(snapshot.RestorePending());
    EXPECT_FALSE(clipboard().IsOpen());
    // In the clipboard's order; the bitmap and metafile handles and the block
    // that cannot be locked are left out; only the registered format has a name.
    std::vector<std::tuple<uint32_t, Text, Block>> saved;
    for (const auto& f : snapshot.Formats()) saved.emplace_back(f.number, f.name, f.bytes);
    EXPECT_EQ(saved, (std::vector<std::tuple<uint32_t, Text, Block>>{
                         {custom, u"Wordlark Test Format", {7, 0, 9}},
                         {platform::kCfUnicodeText, u"", Utf16Of(u"before")},
                         {platform::kCfLocale, u"", {0x19, 0x04, 0, 0}}}));

    // The name's registration is lost and another name takes the next number:
    // the data goes back under the number the name registers to now.
    clipboard().PutText(kOtherApp, u"later");
    clipboard().ForgetRegistrations();
    clipboard().RegisterFormat(u"Someone Else's Format");
    ASSERT_TRUE(snapshot.PutBack());
    const uint32_t renumbered = clipboard().FormatId(u"Wordlark Test Format");
    EXPECT_NE(renumbered, custom);
    EXPECT_EQ(Now(), (Content{{renumbered, {7, 0, 9}},
                              {platform::kCfUnicodeText, Utf16Of(u"before")},
                              {platform::kCfLocale, {0x19, 0x04, 0, 0}}}));
    clipboard().Open(0);
    EXPECT_EQ(clipboard().EnumFormats(),
              (std::vector<uint32_t>{renumbered, platform::kCfUnicodeText, platform::kCfLocale}));
    clipboard().Close();
    EXPECT_FALSE(clipboard().IsOpen());

    // Once the new content is wanted, PutBack leaves it.
    clipboard().PutText(kOtherApp, u"copied on purpose");
    snapshot.ClearRestore();
    uint32_t sequence = clipboard().SequenceNumber();
    EXPECT_FALSE(snapshot.PutBack());
    EXPECT_EQ(clipboard().SequenceNumber(), sequence);

    // An empty clipboard makes an empty snapshot, which puts nothing back;
    // so does a clipboard that another program holds open.
    clipboard().Put(kOtherApp, {});
    snapshot.Take();
    clipboard().PutText(kOtherApp, u"after the empty one");
    sequence = clipboard().SequenceNumber();
    EXPECT_TRUE(snapshot.RestorePending());
    EXPECT_FALSE(snapshot.PutBack());
    clipboard().heldBy = kOtherApp;
    snapshot.Take();
    clipboard().heldBy = 0;
    EXPECT_TRUE(snapshot.Formats().empty());
    EXPECT_FALSE(snapshot.PutBack());
    EXPECT_EQ(clipboard().SequenceNumber(), sequence);
}

TEST_F(SelectionExtractTest, SimulatedCopyReadsTheSelectionAndRestoresTheClipboard) {
    auto stop = std::shared_ptr<platform::Event>(
        P().sync.CreateEvent(Text(), true, false, platform::Security::Default));
    history::SetOwnCopyHandler(kHandler, stop);
    const Content before = [&] {
        CopyRichly();
        return Now();
    }();
    const std::vector<KeyInput> ctrlC{{0x11, 0x1D, 0}, {0x43, 0x2E, 0}, {0x43, 0x2E, 2}, {0x11, 0x1D, 2}};

    struct Case {
        const char* name;
        Content copied;        // what the target puts on the clipboard
        bool onKeys;           // the target copies on Ctrl+C, not on WM_COPY
        intptr_t handler;      // the tray window's answer
        Text text;
    };
    const std::vector<Case> cases = {
        {"unicode text", {{13, Utf16Of(u"sel\u00E9cted")}, {1, {'x', 0}}}, false, kHandler,
         u"sel\u00E9cted"},
        {"only 8-bit text, in the ANSI code page", {{1, {'C', 'a', 'f', 0xE9, 0, 'z'}}}, true,
         kHandler, u"Caf\u00E9"},
        {"empty unicode text falls back to 8-bit", {{13, {0, 0}}, {1, {'a', 'b', 0}}}, false, 0,
         u"ab"},
        {"nothing copied", {}, false, kHandler, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CopyRichly();
        const auto messagesBefore = Sim().ui.Messages().size();
        const auto callsBefore = Sim().input.Calls().size();
        const int sleepsBefore = Sim().threads.sleeps;
        auto copy = [&] {
            if (!c.copied.empty()) clipboard().Put(kTarget, c.copied);
        };
        // What the clipboard and the own-copy counter were when the keys came.
        std::vector<std::pair<size_t, int32_t>> atKeys;
        Sim().input.onInserted = [&](std::span<const KeyInput>) {
            atKeys.emplace_back(clipboard().Formats().size(), history::MyCopyCounter());
            if (c.onKeys) copy();
        };
        Sim().ui.onMessage = [&](const platform::sim::SimMessage& m) -> intptr_t {
            if (m.message == bridge::WM_GET_CLIPBOARD_HANDLER) return c.handler;
            if (m.message == bridge::WM_COPY && !c.onKeys) copy();
            return 0;
        };

        EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), c.text);

        const auto messages = Sim().ui.Messages();
        std::vector<std::tuple<WindowId, uint32_t, uintptr_t, intptr_t, bool>> sent;
        for (size_t i = messagesBefore; i < messages.size(); ++i)
            sent.emplace_back(messages[i].window, messages[i].message, messages[i].wParam,
                              messages[i].lParam, messages[i].posted);
        EXPECT_EQ(sent, (decltype(sent){{kTray, 0x800F, 0, 0, false}, {kTarget, 0x0301, 0, 0, false}}));
        const auto calls = Sim().input.Calls();
        ASSERT_EQ(calls.size(), callsBefore + 1) << "one call, so nothing comes between the keys";
        EXPECT_EQ(calls.back(), ctrlC);
        const int32_t blocked = c.handler ? 1 : 0;
        EXPECT_EQ(atKeys, (std::vector<std::pair<size_t, int32_t>>{{0, blocked}}));
        EXPECT_EQ(Sim().threads.sleeps - sleepsBefore, 1);
        EXPECT_EQ(Sim().threads.lastSleepMs, 400u);
        EXPECT_EQ(Now(), before) << "the user's clipboard is back, byte for byte";
        EXPECT_FALSE(clipboard().IsOpen());

        // The block ends with the stop signal; the counter is let down by hand.
        stop->Set();
        Sim().threads.WaitIdle();
        stop->Reset();
        if (blocked) history::OnDelayUnlock();
        EXPECT_EQ(history::MyCopyCounter(), 0);
    }

    // A target that does not answer does not hold the caller; a clipboard
    // held by another program is not emptied, so no copy is tried and
    // nothing else is changed.
    CopyRichly();
    Sim().ui.onMessage = nullptr;
    Sim().input.onInserted = nullptr;
    Sim().ui.hungWindows.insert(kTarget);
    EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), u"");
    EXPECT_EQ(Now(), before);
    const auto calls = Sim().input.Calls().size();
    const uint32_t sequence = clipboard().SequenceNumber();
    clipboard().heldBy = kOtherApp;
    EXPECT_EQ(bridge::ExtractSelectedText(kTarget, kTray), u"");
    clipboard().heldBy = 0;
    EXPECT_EQ(Sim().input.Calls().size(), calls);
    EXPECT_EQ(clipboard().SequenceNumber(), sequence);
}

}  // namespace
}  // namespace wlk::test
