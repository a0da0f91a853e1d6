// Handing text to the shell: command lines, addresses, searches and history
// items, checked by the shell calls, boxes and beeps the simulated platform saw.
#include "bridge/shell_actions.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bridge/history_open.h"
#include "bridge/item_actions.h"
#include "bridge/selection_extract.h"
#include "bridge/web_address.h"
#include "bridge/web_search.h"
#include "platform/text.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;
using platform::MessageIcon;
using platform::WindowId;

constexpr WindowId kOwner = 0x5150;
constexpr uint32_t kSimpleBeep = 0xFFFFFFFF;

class ShellActionsTest : public LoggedTest {
protected:
    platform::sim::SimUi& ui() { return Sim().ui; }
    void ShellAnswers(intptr_t result, uint32_t lastError) {
        ui().shellResult = result;
        ui().shellLastError = lastError;
    }
    // The one shell call made, as "owner|verb|file|parameters|directory".
    std::string OnlyShellCall() {
        const auto calls = ui().ShellCalls();
        if (calls.size() != 1) return "<" + std::to_string(calls.size()) + " calls>";
        const auto& c = calls[0];
        return std::to_string(c.owner) + "|" + ToUtf8(c.verb) + "|" + ToUtf8(c.file) + "|" +
               ToUtf8(c.parameters) + "|" + ToUtf8(c.directory);
    }
    // The one box shown, as "owner|caption|text"; warning icon asserted.
    std::string OnlyBox() {
        const auto boxes = ui().MessageBoxes();
        if (boxes.empty()) return "";
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].icon, MessageIcon::Warning);
        return std::to_string(boxes[0].window) + "|" + ToUtf8(boxes[0].caption) + "|" +
               ToUtf8(boxes[0].text);
    }
};

TEST_F(ShellActionsTest, CommandLinesAndAddressesSayWhyTheyFailed) {
    const std::string owner = std::to_string(kOwner), box = owner + "|Wordlark|";
    const std::string lines = "\n\nCommand: C:\\x.exe\n\nSource Command: C:\\x.exe";
    // 32 is still an error; the reason comes from the thread's error, not the result.
    for (const auto& [result, lastError, shown] : {std::tuple{33, 0u, ""s},
                                                   {2, 2u, box + "File not found.\r\n" + lines},
                                                   {32, 5u, box + "Error 5.\r\n" + lines}}) {
        SetUp();
        ShellAnswers(result, lastError);
        Sim().system.threadLastError = 1234;
        int sounds = 0;
        EXPECT_EQ(bridge::RunCommand(kOwner, u"C:\\x.exe", [&] { ++sounds; }), shown.empty());
        EXPECT_EQ(OnlyShellCall(), owner + "|open|C:\\x.exe||");
        EXPECT_EQ(sounds, shown.empty() ? 1 : 0);
        EXPECT_EQ(OnlyBox(), shown);
        EXPECT_EQ(ui().Beeps(), shown.empty() ? std::vector<uint32_t>{} : std::vector{kSimpleBeep});
        EXPECT_EQ(Sim().system.threadLastError, 1234u) << "the caller's last error stays";
    }

    // An address reports only when asked and an error is set; the reason is
    // the result read as an error number.
    const std::string command = "\r\n\nCommand: [http://a.b/c]\nCommand Lenght: 12";
    for (const auto& [result, lastError, report, shown] :
         {std::tuple{42, 0u, true, ""s},
          {2, 2u, true, box + "File not found." + command},
          {31, 1155u, true, box + "Error 31." + command},
          {2, 0u, true, ""s},
          {2, 2u, false, ""s}}) {
        SetUp();
        ShellAnswers(result, lastError);
        EXPECT_EQ(bridge::OpenUrl(u"http://a.b/c", report, kOwner), result == 42);
        EXPECT_EQ(OnlyShellCall(), owner + "|open|http://a.b/c||");
        EXPECT_EQ(OnlyBox(), shown);
        EXPECT_TRUE(ui().Beeps().empty());
    }
}

TEST_F(ShellActionsTest, CommandLineIsExpandedInTheTargetsLayoutWithTheSelectionOnOneLine) {
    constexpr WindowId kTarget = 0x7001;
    Sim().targets.owners[kTarget] = {300, 301};
    Sim().targets.layouts[301] = 0xF0A80419;
    // The month is named in the target layout's language; only the
    // selection's CR LF pairs become blanks.
    EXPECT_EQ(bridge::ExpandCommandLine(kTarget, u"go %SELECTED_TEXT%|%MONTHNAME%|%CLIPBOARD_TEXT%",
                                        u"a\r\nb\nc\rd\r\n", u"x\r\ny"),
              u"go a b\nc\rd |Декабрь|x\r\ny");
}

TEST_F(ShellActionsTest, SearchAddressesCarryTheQueryEncodedAsTyped) {
    // Engine 3 has no address. (The shell calls are the item commands' test.)
    const std::tuple<int, Text, std::optional<std::string>> searches[] = {
        {5, u"a\r\nb", "https://yandex.ru/yandsearch?text=a%20b"},
        {7, u"При", "https://ru.wikipedia.org/wiki/Special:Search?search=%D0%9F%D1%80%D0%B8"},
        {4, u"a=b?c#d/e%f\"g Az09-_.~\U0001F600",
         "https://www.google.ru/search?q=a%3Db%3Fc%23d%2Fe%25f%22g%20Az09-_.~%F0%9F%98%80"},
        {3, u"a", std::nullopt}};
    for (const auto& [engine, text, expected] : searches) {
        const auto address = bridge::SearchAddress(text, engine);
        EXPECT_EQ(address ? std::optional(ToUtf8(*address)) : std::nullopt, expected)
            << ToUtf8(text);
    }
}

TEST_F(ShellActionsTest, CopiedTextOpensOnlyAsAWebAddress) {
    auto read = OpenLog();
    const std::pair<Text, std::optional<std::string>> cases[] = {
        {u"https://example.com/a?b=c", "https://example.com/a?b=c"},
        {u"  HTTP://Example.com\r\n", "HTTP://Example.com"},
        {u"mailto:someone@example.com", "mailto:someone@example.com"},
        {u"C:\\Windows\\System32\\calc.exe", std::nullopt},
        {u"http://example.com & calc", std::nullopt},
        {u"http:notepad.exe", std::nullopt},
        {u"http:///C:/x.exe", std::nullopt},
        {u"mailto:", std::nullopt},
    };
    size_t refused = 0;
    for (const auto& [text, address] : cases) {
        SCOPED_TRACE(ToUtf8(text));
        const auto found = bridge::WebAddressOf(text);
        EXPECT_EQ(found ? std::optional(ToUtf8(*found)) : std::nullopt, address);
        const size_t callsBefore = ui().ShellCalls().size();
        EXPECT_EQ(bridge::OpenTextAsUrl(text, kOwner), address.has_value());
        const auto calls = ui().ShellCalls();
        EXPECT_EQ(
            calls.size() == callsBefore ? std::nullopt : std::optional(ToUtf8(calls.back().file)),
            address);
        refused += address ? 0 : 1;
        EXPECT_EQ(ui().Beeps().size(), refused);
    }
    const std::string log = read();
    EXPECT_EQ(CountOf(log, "Not a web address, not opened: ["), refused);
    EXPECT_NE(log.find("Not a web address, not opened: [C:\\Windows\\System32\\calc.exe]"),
              std::string::npos);
}

TEST_F(ShellActionsTest, HistoryItemsOpenThroughWarningTemporaryFiles) {
    // How to make the item, its file's extension and what the file holds
    // (nothing written when empty).
    using Case =
        std::tuple<std::function<std::unique_ptr<history::CCHItem>()>, std::string, std::string>;
    const uint32_t pixels[] = {0x112233, 0x445566};
    const Case cases[] = {
        {[] { return DataItem(history::CHT_TEXT_ANSI, "ab\xE9\0"s); }, ".txt", "ab\xE9"},
        {[] { return TextItem(u"h\u00E9", true); }, ".txt", "\xFF\xFEh\0\xE9\0"s},
        {[] { return DataItem(history::CHT_RTF, "{\\rtf1 x}\0"s); }, ".rtf", "{\\rtf1 x}"},
        {[] { return DataItem(history::CHT_HTML, "Version:0.9\0"s); }, "", "Version:0.9\0"s},
        {[&] {
             auto item = std::make_unique<history::CCHItem>(history::CHT_BITMAP);
             item->SetBitmap(P().bitmaps.FromPixels(2, 1, std::span(pixels)));
             return item;
         },
         ".bmp", "BM"},
        {[] { return std::make_unique<history::CCHItem>(history::CHT_BITMAP); }, ".bmp", ""},
    };
    const Text warning =
        u"== ATTENTION == This temporary file DO NOT SAVE THIS FILE - SAVE AS ONLY ==Wordlark==";
    const std::string owner = std::to_string(kOwner);

    for (bool associated : {true, false}) {
        for (const auto& [make, extension, held] : cases) {
            SCOPED_TRACE(extension + (associated ? " associated" : " open with"));
            SetUp();
            Sim().system.tempFolder = Dir();
            Sim().system.tickCount = 0x12ABCD;
            ShellAnswers(32, 0);  // opened for the associated program only
            history::CCHQueue queue(Dir());
            auto item = make();
            const bool isProtected = item->isProtected;
            queue.Append(std::move(item));
            queue.Append(TextItem(u"newer"));

            const bool written = !held.empty();
            EXPECT_EQ(bridge::OpenHistoryItem(queue, 1, kOwner, associated), associated && written);
            const Text path = Dir() + warning + u"abcABCD.TMP" + T(extension);
            const std::string bytes = Bytes(path);
            if (!written) {
                EXPECT_EQ(OnlyShellCall(), "<0 calls>") << "nothing to write, nothing opened";
                continue;
            }
            EXPECT_EQ(extension == ".bmp" ? bytes.substr(0, 2) : bytes, held);
            EXPECT_EQ(P().files.IsReadOnly(path), isProtected);
            EXPECT_EQ(OnlyShellCall(),
                      associated ? owner + "|open|" + ToUtf8(path) + "||" + ToUtf8(Dir())
                                 : owner + "|open|Rundll32.exe|shell32.dll,OpenAs_RunDLL " +
                                       ToUtf8(path) + "|");
        }
    }
}

// An RTF body's plain text, as the rich-edit control would give it.
class PlainRtf : public phrases::RtfExpander {
public:
    int ExpandMacrosRtf(Text&, const Text&, const Text&, uint32_t*, std::optional<uint16_t>*,
                        uint32_t) override {
        return 0;
    }
    Text PlainText(const Text& rtf) override { return u"plain of " + rtf; }
};

TEST_F(ShellActionsTest, MenuItemCommandsWorkOnThePhraseOrHistoryItemsText) {
    auto read = OpenLog();
    Sim().system.now = {2024, 3, 2, 5, 9, 7, 5, 0};
    phrases::CWLKCommandTree tree;
    auto phrase = [&tree](uint32_t id, phrases::CommandDataType type, const Text& body) {
        phrases::CWLKCommand& node = tree.Commands().emplace_back();
        node.id = id;
        node.dataType = type;
        node.command = body;
    };
    phrase(5, phrases::CommandDataType::TEXT, u"https://example.com/5");
    phrase(6, phrases::CommandDataType::RTF, u"{\\rtf1 b}");
    tree.Commands().emplace_back().MakeGroup();
    tree.Commands().back().id = 7;
    phrase(8, phrases::CommandDataType::TEXT, u"Today %DATE% %PROMPT_TEXT={Who?}%!");
    history::CCHQueue queue(Dir());
    const uint32_t pixels[] = {0x112233};
    auto picture = std::make_unique<history::CCHItem>(history::CHT_BITMAP);
    picture->SetBitmap(P().bitmaps.FromPixels(1, 1, std::span(pixels)));
    queue.Append(std::move(picture));
    queue.Append(TextItem(u"C++ & tests"));
    queue.Append(DataItem(history::CHT_HTML,
                          "Version:0.9\r\n<html><body><!--StartFragment--><b>Naxer</b> &amp; "
                          "co<!--EndFragment--></body></html>\0"s));
    PlainRtf rtf;
    const bridge::ItemSources sources{tree, &queue, rtf, kOwner};

    // The command and the item's id; whether it was done, the clipboard's text
    // after it ("" when it stays empty) and the one address opened ("" for none).
    const std::tuple<int, uint32_t, bool, std::string, std::string> cases[] = {
        {0, 2001, true, "C++ & tests", ""},
        {0, 2000, true, "Naxer & co", ""},
        {0, 6, true, "plain of {\\rtf1 b}", ""},
        {0, 2002, false, "", ""},  // a picture has no text to copy
        {1, 5, true, "", "https://example.com/5"},
        {2, 5, false, "", ""},  // a phrase is not opened in a program
        // A phrase is searched as it would be inserted, a prompt by its question.
        {4, 8, true, "",
         "https://www.google.ru/search?q=Today%20Tuesday%2C%20March%205%2C%202024%20Who%3F%21"},
        {5, 6, true, "", "https://yandex.ru/yandsearch?text=plain%20of%20%7B%5Crtf1%20b%7D"},
    };
    for (const auto& [action, id, done, clipboard, shellFile] : cases) {
        SCOPED_TRACE(std::to_string(action) + " on " + std::to_string(id));
        Sim().clipboard.Put(0, {});
        const size_t callsBefore = ui().ShellCalls().size();
        EXPECT_EQ(bridge::RunItemAction(action, id, sources), done);
        EXPECT_EQ(ToUtf8(bridge::ReadClipboardText()), clipboard);
        const auto calls = ui().ShellCalls();
        EXPECT_EQ(calls.size() == callsBefore ? "" : ToUtf8(calls.back().file), shellFile);
    }
    EXPECT_TRUE(ui().MessageBoxes().empty());
    EXPECT_NE(read().find("Item command 2 on menu item 5 not carried out"), std::string::npos);
}

}  // namespace
}  // namespace wlk::test
