// Reading the clipboard into a history item: the order of the primary
// formats and the further ones, the switches, the page address, CF_TEXT with
// its locale, unreadable and private content, the size cap and a held
// clipboard.
#include "history/clipboard_capture.h"

#include "log/event_log.h"
#include "settings/settings.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;
using history::CaptureClipboard;
using history::CCHItem;
using history::FormatSwitches;
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

std::vector<history::ChType> FurtherTypes(const CCHItem& item) {
    std::vector<history::ChType> types;
    for (const auto& inner : item.formats) types.push_back(inner->Type());
    return types;
}

class ClipboardCaptureTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_TRUE(log::EventLog::Instance().Open(Path("log.txt")));
        rtf = Sim().clipboard.RegisterFormat(history::kRtfFormatName);
        html = Sim().clipboard.RegisterFormat(history::kHtmlFormatName);
        quirenote = Sim().clipboard.RegisterFormat(history::kQuirenoteFormatName);
    }
    void TearDown() override {
        log::EventLog::Instance().Close();
        PlatformTest::TearDown();
    }
    std::string LogText() {
        log::EventLog::Instance().WaitForWriters(5000);
        return Utf16ToUtf8(Bytes(Path("log.txt")));
    }
    std::unique_ptr<CCHItem> Capture(Blocks blocks, bool withBitmap = false,
                                     FormatSwitches switches = {}) {
        std::shared_ptr<platform::Bitmap> bitmap;
        if (withBitmap) bitmap = P().bitmaps.FromPixels(2, 1, std::vector<uint32_t>{0xFF0000, 0x00FF00});
        Sim().clipboard.Put(kOtherApp, std::move(blocks), bitmap);
        return CaptureClipboard(kHandler, switches);
    }

    uint32_t rtf = 0, html = 0, quirenote = 0;
    const std::string page = "Version:0.9\r\nSourceURL:https://example.org/page?q=1\r\n<p>web</p>";
};

TEST_F(ClipboardCaptureTest, PrimaryOrderFurtherFormatsAndSourceUrl) {
    using enum history::ChType;
    struct Case {
        const char* name;
        Blocks blocks;
        bool bitmap;
        history::ChType type;
        std::string content;
        std::vector<history::ChType> further;
        std::string url;
    };
    const std::vector<Case> cases = {
        {"plain text", {{platform::kCfUnicodeText, Wide(u"hello")}}, false, CHT_TEXT_UNICODE, "hello", {}, ""},
        {"web page",
         {{html, Ansi(page)}, {rtf, Ansi("{\\rtf1 web}")}, {platform::kCfUnicodeText, Wide(u"web")}},
         false, CHT_RTF, "{\\rtf1 web}", {CHT_HTML}, "https://example.org/page?q=1"},
        {"bitmap with text",
         {{html, Ansi(page)}, {rtf, Ansi("{\\rtf1 x}")}, {platform::kCfUnicodeText, Wide(u"x")}},
         true, CHT_BITMAP, "bitmap", {CHT_RTF, CHT_HTML}, "https://example.org/page?q=1"},
        {"quirenote before all, raw bytes, no page address",
         {{quirenote, Bytes8("\x01\x00\x02"s)}, {html, Ansi(page)}, {platform::kCfUnicodeText, Wide(u"q")}},
         true, CHT_QUIRENOTE, "\x01\x00\x02"s, {CHT_HTML}, ""},
        {"empty RTF string is unreadable",
         {{rtf, Ansi("")}, {platform::kCfUnicodeText, Wide(u"plain")}}, false, CHT_TEXT_UNICODE, "plain", {}, ""},
        {"UTF-16 without NUL falls to CF_TEXT",
         {{platform::kCfUnicodeText, Bytes8(Utf16Bytes(u"ab"))}, {platform::kCfText, Ansi("ansi")}},
         false, CHT_TEXT_UNICODE, "ansi", {}, ""},
        {"HTML alone is kept as HTML",
         {{html, Ansi("Version:0.9\r\nSourceURL:http://a.b/c\nx")}}, false, CHT_HTML,
         "Version:0.9\r\nSourceURL:http://a.b/c\nx", {}, "http://a.b/c"},
        {"empty Quirenote block falls to text",
         {{quirenote, {}}, {platform::kCfUnicodeText, Wide(u"t")}}, false, CHT_TEXT_UNICODE, "t", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int opensBefore = Sim().clipboard.opens;
        auto item = Capture(c.blocks, c.bitmap);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->Type(), c.type);
        EXPECT_EQ(Content(*item), c.content);
        EXPECT_EQ(FurtherTypes(*item), c.further);
        EXPECT_EQ(ToUtf8(item->sourceUrl), c.url);
        EXPECT_EQ(item->locale, 0u);
        EXPECT_FALSE(Sim().clipboard.IsOpen());
        EXPECT_EQ(Sim().clipboard.closes, Sim().clipboard.opens) << "closed after every read";
        EXPECT_GE(Sim().clipboard.opens - opensBefore, 1 + int(c.further.size()));
    }
    // Nothing readable at all.
    EXPECT_FALSE(Capture({{platform::kCfText, Ansi("")}, {rtf, Bytes8("no nul")}}));
    EXPECT_FALSE(Capture({}));
}

TEST_F(ClipboardCaptureTest, SwitchesDropPrimaryTypesAndTheHtmlFormat) {
    EXPECT_EQ(history::FormatSwitchIndex(history::CHT_TEXT_ANSI), 0);
    EXPECT_EQ(history::FormatSwitchIndex(history::CHT_TEXT_UNICODE), 0);
    EXPECT_EQ(history::FormatSwitchIndex(history::CHT_RTF), 1);
    EXPECT_EQ(history::FormatSwitchIndex(history::CHT_BITMAP), 2);
    EXPECT_EQ(history::FormatSwitchIndex(history::CHT_QUIRENOTE), 3);
    EXPECT_EQ(history::FormatSwitchIndex(history::CHT_HTML), 4);

    auto off = [](int index) {
        FormatSwitches switches;
        switches.on[size_t(index)] = false;
        return switches;
    };
    const Blocks text = {{platform::kCfUnicodeText, Wide(u"t")}};
    EXPECT_FALSE(Capture(text, false, off(0)));
    EXPECT_TRUE(Capture(text, false, off(1)));
    EXPECT_FALSE(Capture({{platform::kCfText, Ansi("a")}}, false, off(0))) << "converted text is text";
    EXPECT_FALSE(Capture(text, true, off(2))) << "a switched-off bitmap does not fall back to its text";
    EXPECT_FALSE(Capture({{quirenote, Bytes8("q")}}, false, off(3)));
    EXPECT_FALSE(Capture({{html, Ansi(page)}}, false, off(4)));
    auto web = Capture({{html, Ansi(page)}, {platform::kCfUnicodeText, Wide(u"w")}}, false, off(4));
    ASSERT_TRUE(web);
    EXPECT_TRUE(web->formats.empty());
    EXPECT_EQ(web->sourceUrl, u"https://example.org/page?q=1") << "the address is kept all the same";

    // The settings as they stand: the bitmap is off by default.
    auto& settings = settings::Settings::Instance();
    EXPECT_FALSE(FormatSwitches::FromSettings().on[2]);
    settings.Set(settings::IntSetting::ClipboardFormats4, 0);
    EXPECT_FALSE(FormatSwitches::FromSettings().Allows(history::CHT_HTML));
    EXPECT_TRUE(FormatSwitches::FromSettings().Allows(history::CHT_TEXT_UNICODE));
    settings.Set(settings::IntSetting::ClipboardFormats4, 1);
}

TEST_F(ClipboardCaptureTest, SourceUrlEndsAtTheFirstLineBreak) {
    auto url = [](const std::string& block) {
        return ToUtf8(history::SourceUrlOf(std::vector<uint8_t>(block.begin(), block.end())));
    };
    EXPECT_EQ(url(page), "https://example.org/page?q=1");
    EXPECT_EQ(url("SourceURL:http://x/y\nStartHTML"), "http://x/y");
    EXPECT_EQ(url("SourceURL:http://x/y"), "http://x/y");
    EXPECT_EQ(url("SourceURL:\r\nhttp://x"), "");
    EXPECT_EQ(url("sourceurl:http://x\r\n"), "") << "the tag as the format writes it";
    EXPECT_EQ(url("SourceURL:https://caf\xC3\xA9.fr/\r\n"), "https://caf\xC3\xA9.fr/");
    EXPECT_EQ(url("no tag here"), "");
}

TEST_F(ClipboardCaptureTest, AnsiTextIsConvertedInItsLocaleAndUnreadableBlocksAreSkipped) {
    const auto cyrillic = Ansi("\xC0\xC1");
    auto russian = Capture({{platform::kCfText, cyrillic}, {platform::kCfLocale, Bytes8("\x19\x04\x00\x00"s)}});
    ASSERT_TRUE(russian);
    EXPECT_EQ(russian->Type(), history::CHT_TEXT_UNICODE);
    EXPECT_EQ(russian->PlainText(), u"\u0410\u0411");
    EXPECT_EQ(russian->locale, 0x419u);
    auto plain = Capture({{platform::kCfText, cyrillic}});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->PlainText(), u"\u00C0\u00C1");
    EXPECT_EQ(plain->locale, 0u);
    auto shortLocale = Capture({{platform::kCfText, cyrillic}, {platform::kCfLocale, Bytes8("\x19\x04")}});
    ASSERT_TRUE(shortLocale);
    EXPECT_EQ(shortLocale->locale, 0u);

    // A block that cannot be locked counts as missing; a bitmap that cannot be
    // copied stops the capture.
    Sim().clipboard.unlockable = {platform::kCfUnicodeText};
    auto fallback = Capture({{platform::kCfUnicodeText, Wide(u"wide")}, {platform::kCfText, Ansi("narrow")}});
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->PlainText(), u"narrow");
    Sim().clipboard.unlockable.clear();
    Sim().clipboard.failBitmapCopy = true;
    EXPECT_FALSE(Capture({{platform::kCfUnicodeText, Wide(u"t")}}, true));
}

TEST_F(ClipboardCaptureTest, PrivateCopiesAreNeverRecordedNorLogged) {
    const uint32_t exclude = P().clipboard.RegisterFormat(history::kExcludeFormatName);
    const uint32_t ignore = P().clipboard.RegisterFormat(history::kViewerIgnoreFormatName);
    const uint32_t canInclude = P().clipboard.RegisterFormat(history::kCanIncludeFormatName);
    const auto secret = Wide(u"hunter2");
    EXPECT_FALSE(Capture({{platform::kCfUnicodeText, secret}, {exclude, {}}}));
    EXPECT_FALSE(Capture({{platform::kCfUnicodeText, secret}, {ignore, Bytes8("x")}}));
    EXPECT_FALSE(Capture({{platform::kCfUnicodeText, secret}, {canInclude, Bytes8("\0\0\0\0"s)}}));
    EXPECT_TRUE(Capture({{platform::kCfUnicodeText, secret}, {canInclude, Bytes8("\x01\0\0\0"s)}}));
    EXPECT_TRUE(Capture({{platform::kCfUnicodeText, secret}, {canInclude, Bytes8("\0\0"s)}}))
        << "a short flag says nothing";
    const std::string log = LogText();
    size_t lines = 0;
    for (size_t at = 0; (at = log.find("Clipboard content marked private by its owner: not recorded", at)) !=
                        std::string::npos;
         ++at)
        ++lines;
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(log.find("hunter2"), std::string::npos);
}

TEST_F(ClipboardCaptureTest, HugeBlocksAreCappedAndAHeldClipboardIsRetriedBriefly) {
    const std::vector<uint8_t> huge(history::kMaxCaptureBytes + 2, 'a');
    EXPECT_FALSE(Capture({{rtf, huge}, {platform::kCfUnicodeText, Wide(u"small")}}))
        << "too large to record, not replaced by a lesser format";
    auto item = Capture({{html, huge}, {platform::kCfUnicodeText, Wide(u"small")}});
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->formats.empty());
    std::string log = LogText();
    EXPECT_NE(log.find("Clipboard data too large to record: 16777218 bytes"), std::string::npos);
    EXPECT_NE(log.find("Clipboard format left out of the history item, too large: 16777218 bytes"),
              std::string::npos);

    // Held for three attempts: the fourth opens it.
    Sim().clipboard.openFailures = 3;
    Sim().clipboard.opens = Sim().clipboard.closes = 0;
    Sim().threads.sleeps = 0;
    item = Capture({{platform::kCfUnicodeText, Wide(u"late")}});
    ASSERT_TRUE(item);
    EXPECT_EQ(item->PlainText(), u"late");
    EXPECT_EQ(Sim().clipboard.opens, 4);
    EXPECT_EQ(Sim().clipboard.closes, 1);
    EXPECT_EQ(Sim().threads.sleeps, 3);

    // Held for good: one attempt and five retries, then nothing more is tried.
    Sim().clipboard.heldBy = 0x999;
    Sim().clipboard.opens = Sim().clipboard.closes = 0;
    Sim().threads.sleeps = 0;
    EXPECT_FALSE(Capture({{platform::kCfUnicodeText, Wide(u"held")}, {html, Ansi(page)}}));
    EXPECT_EQ(Sim().clipboard.opens, 1 + history::kOpenRetries);
    EXPECT_EQ(Sim().clipboard.closes, 0);
    EXPECT_EQ(Sim().threads.sleeps, history::kOpenRetries);
    EXPECT_LE(history::kOpenRetryBudget * history::kOpenRetryDelayMs, 50u);
    log = LogText();
    EXPECT_NE(log.find("Cannot open the clipboard, another program holds it: the copy is not recorded"),
              std::string::npos);
}

}  // namespace
}  // namespace wlk::test
