// The real clipboard under Wine: what is written reads back, every change moves
// the sequence number, a clipboard held by another window cannot be opened,
// the clipboard handler window records another program's copies with either
// way of being told of changes, the program's own writes read back as other
// programs see them, a snapshot of the clipboard is put back whole,
// and an Edit control's selection is read by a simulated copy.
#include "platform/win32/win32_clipboard.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "bridge/clipboard_snapshot.h"
#include "bridge/clipboard_write.h"
#include "bridge/selection_extract.h"
#include "history/clipboard_history_win32.h"
#include "history/clipboard_windows_win32.h"
#include "platform/text.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"
#include "support/clip_writer.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

std::vector<uint8_t> TextBlock(std::u16string_view text) {
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    return std::vector<uint8_t>(data, data + (text.size() + 1) * sizeof(char16_t));
}

class Win32ClipboardTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        PlatformTest::TearDown();
    }
    platform::WindowId Window() const { return platform::WindowId(window_); }

    platform::win32::Win32Clipboard clipboard_;
    HWND window_ = nullptr;
};

TEST_F(Win32ClipboardTest, WrittenFormatsReadBackAndEachWriteMovesTheSequenceNumber) {
    const uint32_t rtf = clipboard_.RegisterFormat(u"Rich Text Format");
    ASSERT_GE(rtf, 0xC000u);
    const uint32_t before = clipboard_.SequenceNumber();

    ASSERT_TRUE(clipboard_.Open(Window()));
    ASSERT_TRUE(clipboard_.Empty());
    ASSERT_TRUE(clipboard_.SetData(platform::kCfUnicodeText, TextBlock(u"Wren \u0416")));
    const std::string rtfText = "{\\rtf1 wren}";
    ASSERT_TRUE(clipboard_.SetData(
        rtf, std::span(reinterpret_cast<const uint8_t*>(rtfText.c_str()), rtfText.size() + 1)));
    clipboard_.Close();
    const uint32_t afterWrite = clipboard_.SequenceNumber();
    EXPECT_NE(afterWrite, before);
    EXPECT_EQ(clipboard_.Owner(), Window());
    EXPECT_TRUE(clipboard_.IsFormatAvailable(rtf));
    EXPECT_FALSE(clipboard_.IsFormatAvailable(platform::kCfBitmap));

    ASSERT_TRUE(clipboard_.Open(Window()));
    auto text = clipboard_.GetData(platform::kCfUnicodeText, 1 << 20);
    ASSERT_TRUE(text);
    EXPECT_EQ(Text(reinterpret_cast<const char16_t*>(text->bytes.data())), u"Wren \u0416");
    auto cut = clipboard_.GetData(rtf, 4);
    ASSERT_TRUE(cut) << "a block above the limit still tells its size";
    EXPECT_GE(cut->size, rtfText.size() + 1);
    EXPECT_TRUE(cut->bytes.empty());
    EXPECT_FALSE(clipboard_.GetData(platform::kCfBitmap, 1 << 20));
    EXPECT_EQ(clipboard_.GetBitmap(), nullptr);
    clipboard_.Close();
    EXPECT_EQ(clipboard_.SequenceNumber(), afterWrite) << "reading is no change";

    // Windows-1251 is the ANSI code page of Russian (0x419).
    EXPECT_EQ(clipboard_.AnsiToText("\xC0\xE1", 0x419), u"\u0410\u0431");
    EXPECT_TRUE(clipboard_.HasFormatListener());

    ASSERT_TRUE(WriteClipboard({u"text", u"from another process"}));
    EXPECT_NE(clipboard_.SequenceNumber(), afterWrite);
    EXPECT_NE(clipboard_.Owner(), Window());

    // A clipboard another window holds does not open until it lets go.
    HWND holder =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    EXPECT_FALSE(clipboard_.Open(Window()));
    CloseClipboard();
    DestroyWindow(holder);
    ASSERT_TRUE(clipboard_.Open(Window()));
    clipboard_.Close();
}

TEST_F(Win32ClipboardTest, TextIsWrittenWithItsLocaleAsOtherProgramsReadIt) {
    ASSERT_TRUE(bridge::SetClipboardText(u"caf\u00e9"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* text = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text), L"caf\u00e9");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    const auto* locale = static_cast<const DWORD*>(GlobalLock(GetClipboardData(CF_LOCALE)));
    ASSERT_NE(locale, nullptr);
    EXPECT_EQ(*locale, GetThreadLocale());
    GlobalUnlock(GetClipboardData(CF_LOCALE));
    CloseClipboard();
}

TEST_F(Win32ClipboardTest, SimulatedCopyReadsAnEditControlsSelectionAndRestoresTheClipboard) {
    const uint32_t own = clipboard_.RegisterFormat(u"Wordlark Snapshot Test");
    auto bitmap = P().bitmaps.FromPixels(2, 1, std::vector<uint32_t>{0xFF0000, 0x0000FF});
    ASSERT_TRUE(bitmap && clipboard_.Open(Window()) && clipboard_.Empty());
    ASSERT_TRUE(clipboard_.SetData(own, std::vector<uint8_t>{9, 8, 7}));
    ASSERT_TRUE(clipboard_.SetData(platform::kCfUnicodeText, TextBlock(u"the user's own")));
    ASSERT_TRUE(clipboard_.SetBitmap(*bitmap));
    clipboard_.Close();
    // The snapshot keeps the clipboard's order and the registered name; the
    // bitmap handle is left out, its CF_DIB (8) form kept.
    bridge::ClipboardSnapshot snapshot;
    snapshot.Take();
    std::vector<uint32_t> numbers;
    for (const auto& format : snapshot.Formats()) numbers.push_back(format.number);
    ASSERT_GE(numbers.size(), 3u);
    EXPECT_EQ(std::vector(numbers.begin(), numbers.begin() + 2),
              (std::vector<uint32_t>{own, platform::kCfUnicodeText}));
    EXPECT_EQ(snapshot.Formats()[0].name, u"Wordlark Snapshot Test");
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), platform::kCfBitmap), 0);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 8u), 1);

    HWND edit = CreateWindowExW(0, L"EDIT", L"alpha beta \u0416amma", WS_POPUP, 0, 0, 200, 30,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, EM_SETSEL, 6, 16);
    // WM_COPY makes the control copy even though it has no focus.
    EXPECT_EQ(bridge::ExtractSelectedText(platform::WindowId(edit), 0), u"beta \u0416amma");
    DestroyWindow(edit);

    ASSERT_TRUE(clipboard_.Open(Window()));
    const auto ownBlock = clipboard_.GetData(own, 1 << 20);
    const auto text = clipboard_.GetData(platform::kCfUnicodeText, 1 << 20);
    const auto restored = clipboard_.GetBitmap();
    clipboard_.Close();
    ASSERT_TRUE(ownBlock && text && restored && ownBlock->bytes.size() >= 3);
    EXPECT_EQ(std::vector(ownBlock->bytes.begin(), ownBlock->bytes.begin() + 3),
              (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(Text(reinterpret_cast<const char16_t*>(text->bytes.data())), u"the user's own");
    EXPECT_EQ(restored->Pixels(), (std::vector<uint32_t>{0xFF0000, 0x0000FF}))
        << "the bitmap comes back from its CF_DIB";
}

// Dispatches this thread's messages until `done` holds or 30 s pass.
bool PumpUntil(const std::function<bool()>& done) {
    return WaitUntil(
        [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            return done();
        },
        30000);
}

class ClipboardHandlerWindowTest : public Win32ClipboardTest {
protected:
    void SetUp() override {
        Win32ClipboardTest::SetUp();
        // The history folder beside the test program stays untouched.
        Settings().Set(settings::IntSetting::SaveClipboardHistory, 0);
        Settings().Set(settings::IntSetting::ClipboardHistoryMax, 30);
    }
    void TearDown() override {
        Settings() = saved_;
        Win32ClipboardTest::TearDown();
    }
    static settings::Settings& Settings() { return settings::Settings::Instance(); }

    const settings::Settings saved_ = Settings();
};

TEST_F(ClipboardHandlerWindowTest, RecordsEachCopyOfAnotherProgramOnceWithEitherMethod) {
    struct Case {
        int setting;
        int spyMethod;
        int monitorMethod;
    };
    Settings().Set(settings::IntSetting::ClipboardFormats2, 0);  // bitmaps off
    for (Case c : {Case{1, history::kSpyListener, history::kMonitorListener},
                   Case{0, history::kSpyViewer, history::kMonitorViewer}}) {
        SCOPED_TRACE(c.setting);
        Settings().Set(settings::IntSetting::ClipboardSpyMethod, c.setting);
        // An empty clipboard: a new viewer is told of it at once, which must add nothing.
        ASSERT_TRUE(clipboard_.Open(Window()));
        clipboard_.Empty();
        clipboard_.Close();
        // The message-only window stands in for the tray window.
        history::CWLKClipboardHistory clipboardHistory;
        clipboardHistory.SetParent(window_);
        ASSERT_TRUE(clipboardHistory.Create());
        EXPECT_EQ(history::CClipboardSpy::Instance().Method(), c.spyMethod);
        EXPECT_EQ(clipboardHistory.Handler()->MonitorMethod(), c.monitorMethod);
        const auto& queue = *clipboardHistory.Queue();

        // The second copy, a bitmap beside its text as spreadsheet cells give,
        // is kept as its text.
        const Text first = u"first copy " + ToText(c.setting);
        const Text second = u"cells \u0416 " + ToText(c.setting);
        ASSERT_TRUE(WriteClipboard({u"text", first}));
        ASSERT_TRUE(PumpUntil([&] { return queue.Count() >= 1; })) << "the copy was not recorded";
        // The second copy recorded is the sign that every notice of the first has come.
        ASSERT_TRUE(WriteClipboard({u"sheet", second}));
        ASSERT_TRUE(PumpUntil([&] { return queue.Count() >= 2; }));
        ASSERT_EQ(queue.Count(), 2u) << "one item per copy";
        EXPECT_EQ(queue.Newest(0)->Type(), history::CHT_TEXT_UNICODE);
        EXPECT_EQ(queue.Newest(0)->PlainText(), second);
        EXPECT_EQ(queue.Newest(1)->PlainText(), first);
    }
    EXPECT_FALSE(history::CClipboardSpy::Instance().IsInstalled()) << "gone with its window";
}

}  // namespace
}  // namespace wlk::test
