// The real clipboard under Wine: what is written reads back, every change moves
// the sequence number, and a clipboard held by another process cannot be opened.
#include "platform/win32/win32_clipboard.h"

#include <string>

#include "platform/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "support/clip_writer.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::win32::UniqueHandle;

std::vector<uint8_t> Bytes(std::u16string_view text) {
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    return std::vector<uint8_t>(data, data + (text.size() + 1) * sizeof(char16_t));
}

class Win32ClipboardTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
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
    EXPECT_EQ(clipboard_.RegisterFormat(u"Rich Text Format"), rtf) << "one id per name";
    const uint32_t before = clipboard_.SequenceNumber();

    ASSERT_TRUE(clipboard_.Open(Window()));
    ASSERT_TRUE(clipboard_.Empty());
    ASSERT_TRUE(clipboard_.SetData(platform::kCfUnicodeText, Bytes(u"Wren \u0416")));
    const std::string rtfText = "{\\rtf1 wren}";
    ASSERT_TRUE(clipboard_.SetData(
        rtf, std::span(reinterpret_cast<const uint8_t*>(rtfText.c_str()), rtfText.size() + 1)));
    clipboard_.Close();
    const uint32_t afterWrite = clipboard_.SequenceNumber();
    EXPECT_NE(afterWrite, before);
    EXPECT_EQ(clipboard_.Owner(), Window());
    EXPECT_TRUE(clipboard_.IsFormatAvailable(rtf));
    EXPECT_TRUE(clipboard_.IsFormatAvailable(platform::kCfUnicodeText));
    EXPECT_FALSE(clipboard_.IsFormatAvailable(platform::kCfBitmap));

    ASSERT_TRUE(clipboard_.Open(Window()));
    auto text = clipboard_.GetData(platform::kCfUnicodeText, 1 << 20);
    ASSERT_TRUE(text);
    ASSERT_GE(text->size, 14u);
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
}

TEST_F(Win32ClipboardTest, OpenFailsWhileAnotherProcessHoldsTheClipboard) {
    const Text readyName = u"Local\\wlk-test-clip-held-" + ToText(GetCurrentProcessId());
    UniqueHandle ready(
        CreateEventW(nullptr, TRUE, FALSE, platform::win32::AsWide(readyName)));
    ASSERT_TRUE(ready);
    UniqueHandle holder = StartClipWriter({u"hold", u"3000", readyName});
    ASSERT_TRUE(holder);
    ASSERT_EQ(WaitForSingleObject(ready.Get(), 30000), WAIT_OBJECT_0);

    EXPECT_FALSE(clipboard_.Open(Window()));
    EXPECT_TRUE(WaitUntil([&] {
        if (!clipboard_.Open(Window())) return false;
        clipboard_.Close();
        return true;
    }, 30000)) << "the clipboard opens again once the holder lets go";
    EXPECT_EQ(WaitForSingleObject(holder.Get(), 30000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace wlk::test
