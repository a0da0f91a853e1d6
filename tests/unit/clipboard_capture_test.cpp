// Reading the clipboard into a history item: the order of the primary
// formats and the further ones, the switches, the page address, CF_TEXT with
// its locale, unreadable and private content, the size cap and a held
// clipboard.
#include "history/clipboard_capture.h"

#include "support/logged_test.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;
using history::CaptureClipboard;
using history::CCHItem;
using history::FormatSwitches;
using platform::kCfLocale;
using platform::kCfText;
using platform::kCfUnicodeText;
using Blocks = std::map<uint32_t, std::vector<uint8_t>>;

constexpr platform::WindowId kHandler = 0x1333;
constexpr platform::WindowId kOtherApp = 0x4242;

std::vector<uint8_t> Bytes8(const std::string& bytes) {
    return {bytes.begin(), bytes.end()};
}
std::vector<uint8_t> Ansi(const std::string& text) {
    return Bytes8(text + '\0');
}
std::vector<uint8_t> Wide(std::u16string_view text) {
    return Bytes8(Utf16Bytes(text) + "\0\0"s);
}

// The primary data as the tests compare it.
std::string Content(const CCHItem& item) {
    if (item.Type() == history::CHT_TEXT_UNICODE) return ToUtf8(item.PlainText());
    if (item.Type() == history::CHT_BITMAP) return "bitmap";
    std::string bytes(reinterpret_cast<const char*>(item.Data()), item.Size());
    if (item.Type() != history::CHT_QUIRENOTE && !bytes.empty()) bytes.pop_back();
    return bytes;
}

// The whole item as the tests compare it: "TYPE [primary] +FURTHER... <url>",
// types by number (1 text, 2 RTF, 3 Quirenote, 4 bitmap, 5 HTML).
std::string Describe(const CCHItem& item) {
    std::string text = std::to_string(item.Type()) + " [" + Content(item) + "]";
    for (const auto& inner : item.formats) text += " +" + std::to_string(inner->Type());
    if (!item.sourceUrl.empty()) text += " <" + ToUtf8(item.sourceUrl) + ">";
    return text;
}

class ClipboardCaptureTest : public LoggedTest {
protected:
    void SetUp() override {
        LoggedTest::SetUp();
        logText = OpenLog();
        rtf = Sim().clipboard.RegisterFormat(history::kRtfFormatName);
        html = Sim().clipboard.RegisterFormat(history::kHtmlFormatName);
        quirenote = Sim().clipboard.RegisterFormat(history::kQuirenoteFormatName);
    }
    size_t LogCount(const std::string& line) { return CountOf(logText(), line); }
    std::unique_ptr<CCHItem> Capture(Blocks blocks, bool withBitmap = false,
                                     FormatSwitches switches = {}) {
        std::shared_ptr<platform::Bitmap> bitmap;
        if (withBitmap)
            bitmap = P().bitmaps.FromPixels(2, 1, std::vector<uint32_t>{0xFF0000, 0x00FF00});
        Sim().clipboard.Put(kOtherApp, std::move(blocks), bitmap);
        return CaptureClipboard(kHandler, history::CaptureFormats::Register(), switches);
    }

    std::function<std::string()> logText;
    uint32_t rtf = 0, html = 0, quirenote = 0;
    const std::string page = "Version:0.9\r\nSourceURL:https://example.org/page?q=1\r\n<p>web</p>";
};

TEST_F(ClipboardCaptureTest, PrimaryOrderFurtherFormatsAndSourceUrl) {
    const std::string html8 = "Version:0.9\r\nSourceURL:http://caf\xC3\xA9.fr/c\nx";
    // The blocks offered, whether a picture is too, and the item recorded.
    const std::tuple<Blocks, bool, std::string> cases[] = {
        {{{kCfUnicodeText, Wide(u"hello")}}, false, "1 [hello]"},
        {{{html, Ansi(page)}, {rtf, Ansi("{\\rtf1 web}")}, {kCfUnicodeText, Wide(u"web")}},
         false,
         "2 [{\\rtf1 web}] +5 <https://example.org/page?q=1>"},
        {{{html, Ansi(page)}, {rtf, Ansi("{\\rtf1 x}")}, {kCfUnicodeText, Wide(u"x")}},
         true,
         "4 [bitmap] +2 +5 <https://example.org/page?q=1>"},
        // Quirenote before all, its raw bytes, and no page address from it.
        {{{quirenote, Bytes8("\x01\x00\x02"s)}, {html, Ansi(page)}, {kCfUnicodeText, Wide(u"q")}},
         true,
         "3 [\x01\x00\x02] +5"s},
        // Unreadable blocks give way: an empty RTF string, UTF-16 without its NUL,
        // an empty Quirenote block.
        {{{rtf, Ansi("")}, {kCfUnicodeText, Wide(u"plain")}}, false, "1 [plain]"},
        {{{kCfUnicodeText, Bytes8(Utf16Bytes(u"ab"))}, {kCfText, Ansi("ansi")}}, false, "1 [ansi]"},
        {{{quirenote, {}}, {kCfUnicodeText, Wide(u"t")}}, false, "1 [t]"},
        {{{html, Ansi(html8)}}, false, "5 [" + html8 + "] <http://caf\xC3\xA9.fr/c>"},
    };
    for (const auto& [blocks, bitmap, recorded] : cases) {
        SCOPED_TRACE(recorded);
        auto item = Capture(blocks, bitmap);
        ASSERT_TRUE(item);
        EXPECT_EQ(Describe(*item), recorded);
        EXPECT_EQ(Sim().clipboard.closes, Sim().clipboard.opens) << "closed after every read";
    }
    // Nothing readable at all.
    EXPECT_FALSE(Capture({{kCfText, Ansi("")}, {rtf, Bytes8("no nul")}}));
    EXPECT_FALSE(Capture({}));
}

TEST_F(ClipboardCaptureTest, ASwitchedOffFormatGivesWayToTheNextOneOffered) {
    using enum history::ChType;
    auto off = [](int index) {
        FormatSwitches switches;
        switches.on[size_t(index)] = false;
        return switches;
    };
    const Blocks text = {{kCfUnicodeText, Wide(u"t")}};
    const Blocks cells = {{rtf, Ansi("{\\rtf1 r}")}, {kCfUnicodeText, Wide(u"r")}};
    const Blocks web = {{html, Ansi(page)}, {kCfUnicodeText, Wide(u"w")}};
    const Blocks quire = {{quirenote, Bytes8("q")}, {html, Ansi(page)}};
    const std::string keptAs = " capture is off: the copy is kept as its ";
    const std::string notRecorded = " capture is off: the copy is not recorded";
    // The format switched off, the blocks and whether a picture is offered too,
    // the type of the item kept and the line logged.
    const std::tuple<int, Blocks, bool, std::optional<history::ChType>, std::string> cases[] = {
        {2, cells, true, CHT_RTF, "Bitmap" + keptAs + "RTF"},
        {1, cells, false, CHT_TEXT_UNICODE, "RTF" + keptAs + "text"},
        {3, quire, false, CHT_HTML, "Quirenote" + keptAs + "HTML"},
        {0, web, false, CHT_HTML, "Text" + keptAs + "HTML"},
        {0, text, false, std::nullopt, "Text" + notRecorded},
        {2, {}, true, std::nullopt, "Bitmap" + notRecorded},
        {4, {{html, Ansi(page)}}, false, std::nullopt, "HTML" + notRecorded},
    };
    for (const auto& [index, blocks, bitmap, kept, line] : cases) {
        SCOPED_TRACE(line);
        const size_t before = LogCount(line);
        auto item = Capture(blocks, bitmap, off(index));
        EXPECT_EQ(item ? std::optional(item->Type()) : std::nullopt, kept);
        EXPECT_EQ(LogCount(line), before + 1);
    }
}

TEST_F(ClipboardCaptureTest, AnsiTextIsConvertedInItsLocaleAndUnreadableBlocksAreSkipped) {
    // CF_LOCALE is a four-byte LCID; a shorter block names no locale.
    const std::tuple<std::string, Text, uint32_t> cases[] = {
        {"\x19\x04\x00\x00"s, u"\u0410\u0411", 0x419},
        {"", u"\u00C0\u00C1", 0},
        {"\x19\x04", u"\u00C0\u00C1", 0}};
    for (const auto& [locale, text, kept] : cases) {
        Blocks blocks = {{kCfText, Ansi("\xC0\xC1")}};
        if (!locale.empty()) blocks[kCfLocale] = Bytes8(locale);
        auto item = Capture(blocks);
        ASSERT_TRUE(item);
        EXPECT_EQ(std::tuple(item->Type(), item->PlainText(), item->locale),
                  std::tuple(history::CHT_TEXT_UNICODE, text, kept));
    }

    // A block that cannot be locked counts as missing; a bitmap that cannot be
    // copied stops the capture.
    Sim().clipboard.unlockable = {kCfUnicodeText};
    auto fallback = Capture({{kCfUnicodeText, Wide(u"wide")}, {kCfText, Ansi("narrow")}});
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->PlainText(), u"narrow");
    Sim().clipboard.unlockable.clear();
    Sim().clipboard.failBitmapCopy = true;
    EXPECT_FALSE(Capture({{kCfUnicodeText, Wide(u"t")}}, true));
}

TEST_F(ClipboardCaptureTest, PrivateCopiesAreNeverRecordedNorLogged) {
    const uint32_t exclude = P().clipboard.RegisterFormat(history::kExcludeFormatName);
    const uint32_t ignore = P().clipboard.RegisterFormat(history::kViewerIgnoreFormatName);
    const uint32_t canInclude = P().clipboard.RegisterFormat(history::kCanIncludeFormatName);
    const auto secret = Wide(u"hunter2");
    EXPECT_FALSE(Capture({{kCfUnicodeText, secret}, {exclude, {}}}));
    EXPECT_FALSE(Capture({{kCfUnicodeText, secret}, {ignore, Bytes8("x")}}));
    EXPECT_FALSE(Capture({{kCfUnicodeText, secret}, {canInclude, Bytes8("\0\0\0\0"s)}}));
    EXPECT_TRUE(Capture({{kCfUnicodeText, secret}, {canInclude, Bytes8("\x01\0\0\0"s)}}));
    EXPECT_TRUE(Capture({{kCfUnicodeText, secret}, {canInclude, Bytes8("\0\0"s)}}))
        << "a short flag says nothing";
    EXPECT_EQ(LogCount("Clipboard content marked private by its owner: not recorded"), 3u);
    EXPECT_EQ(LogCount("hunter2"), 0u);
}

TEST_F(ClipboardCaptureTest, HugeBlocksAreCappedAndAHeldClipboardIsRetriedBriefly) {
    const std::vector<uint8_t> huge(history::kMaxCaptureBytes + 2, 'a');
    EXPECT_FALSE(Capture({{rtf, huge}, {kCfUnicodeText, Wide(u"small")}}))
        << "too large to record, not replaced by a lesser format";
    auto item = Capture({{html, huge}, {kCfUnicodeText, Wide(u"small")}});
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->formats.empty());
    EXPECT_EQ(LogCount("Clipboard data too large to record: 16777218 bytes"), 1u);
    EXPECT_EQ(LogCount("Clipboard format left out of the history item, too large: 16777218 bytes"),
              1u);
    // A picture is weighed by its rows, as its file would hold them.
    Sim().clipboard.Put(kOtherApp, {{kCfUnicodeText, Wide(u"small")}},
                        P().bitmaps.FromPixels(2049, 2048, std::vector<uint32_t>(2049 * 2048)));
    EXPECT_FALSE(CaptureClipboard(kHandler, history::CaptureFormats::Register(), {}));
    EXPECT_EQ(LogCount("Clipboard data too large to record: 16785408 bytes"), 1u);

    // Held for three attempts, the fourth opens it; held for good, one attempt
    // and five retries, then nothing more is tried.
    auto& clipboard = Sim().clipboard;
    for (const bool forGood : {false, true}) {
        SCOPED_TRACE(forGood ? "held for good" : "held for three attempts");
        clipboard.openFailures = forGood ? 0 : 3;
        clipboard.heldBy = forGood ? 0x999 : 0;
        clipboard.opens = clipboard.closes = Sim().threads.sleeps = 0;
        item = Capture({{kCfUnicodeText, Wide(u"late")}, {html, Ansi(page)}});
        EXPECT_EQ(item ? ToUtf8(item->PlainText()) : "nothing", forGood ? "nothing" : "late");
        EXPECT_EQ(std::tuple(clipboard.opens, clipboard.closes, Sim().threads.sleeps.load()),
                  forGood ? std::tuple(6, 0, 5) : std::tuple(5, 2, 3));
    }
    EXPECT_EQ(
        LogCount("Cannot open the clipboard, another program holds it: the copy is not recorded"),
        1u);
}

}  // namespace
}  // namespace wlk::test
