// Macro expansion of plain-text phrase bodies against a fixed clock and the
// simulated locales: values, substitution order, caret, layouts, prompts and
// numbers in words.
#include "phrases/macro_expansion.h"

#include <optional>
#include <vector>

#include "phrases/macro_values.h"
#include "phrases/number_words.h"
#include "phrases/prompt_split.h"
#include "phrases/windows_version.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using phrases::MacroTable;
using platform::sim::kLcidEnglish;
using platform::sim::kLcidGerman;
using platform::sim::kLcidRussian;

// Tuesday, 5 March 2024, 09:07:05.
constexpr platform::LocalTime kTuesday{2024, 3, 2, 5, 9, 7, 5, 0};

class MacroExpansionTest : public LoggedTest {
protected:
    void SetUp() override {
        LoggedTest::SetUp();
        Sim().system.now = kTuesday;
    }
    void TearDown() override {
        phrases::CurrentMacroSources() = {};
        LoggedTest::TearDown();
    }
    struct Expanded {
        Text text;
        int count;
        int caret;
        std::optional<uint16_t> layout;
    };
    Expanded Expand(const MacroTable& table, Text body, const Text& selected = Text(),
                    const Text& clipboard = Text(), uint32_t lcid = kLcidEnglish) {
        int caret = -1;
        std::optional<uint16_t> layout = 0xFFFF;
        phrases::MacroValues values(selected, clipboard, lcid);
        const int count = phrases::ExpandMacros(table, body, values, &caret, &layout);
        return {body, count, caret, layout};
    }
};

TEST_F(MacroExpansionTest, ValuesOfTheFixedMacros) {
    const MacroTable noLayouts = MacroTable::FromLayouts({});
    auto check = [&](const Text& body, const Text& expected, int count, const Text& selected = u"",
                     const Text& clipboard = u"", uint32_t lcid = kLcidEnglish) {
        SCOPED_TRACE(ToUtf8(body) + " / " + ToUtf8(selected));
        const Expanded got = Expand(noLayouts, body, selected, clipboard, lcid);
        EXPECT_EQ(ToUtf8(got.text), ToUtf8(expected));
        EXPECT_EQ(got.count, count);
        EXPECT_EQ(std::tuple(got.caret, got.layout), std::tuple(0, std::nullopt));
    };
    check(u"%DAY2%.%MONTHNUMBER2%.%YEAR2%|%DAY%/%MONTHNUMBER%/%YEAR%", u"05.03.24|5/3/2024", 6);
    check(u"%DATE%|%DATE_EX_WD%", u"Tuesday, March 5, 2024|March 5, 2024", 2);
    check(u"%DATETIME%|%DATETIME_EX_WD%", u"Dienstag, 5. März 2024 09:07:05|5. März 2024 09:07:05",
          2, u"", u"", kLcidGerman);
    check(u"%WEEKDAYNAME%|%WEEKDAYNAME_ABBR%|%MONTHNAME%|%MONTHNAME_ABBR%", u"вторник|Вт|Март|мар",
          4, u"", u"", kLcidRussian);
    // A locale the system does not know gives empty values, never a failure.
    check(u"[%DATE%|%TIME%|%MONTHNAME%]", u"[||]", 3, u"", u"", 0x0411);
    // Case counts; a name outside the table stays.
    check(u"%date% %TODAY% %TIME%", u"%date% %TODAY% 9:07:05", 1);
    check(u"a%KEYPRESS_ENTER%b%KEYPRESS_TAB%c", u"a\rb\tc", 2);
    check(u"%UPPER_SELTEXT%|%LOWER_SELTEXT%", u"ПРИВЕТ WORLD Ё|привет world ё", 2,
          u"Привет World ё");
    check(u"%NUMBERCHARS_SELTEXT%<%NUMBERCHARS_CLIPBOARD%>", u"пятнадцать roses<>", 2, u"15 roses");
    check(u"[%SELECTED_TEXT%]%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%", u"[x.org/a]", 1,
          u"http://http://HTTPS://x.org/a");
    check(u"%URL_FROM_SELECTED_TEXT%|%TEXT_AFTER_URL%", u"http://example.org| and more", 2,
          u"http://example.org and more");
    // A value naming a macro later in the order is expanded in its turn, and a
    // value naming its own macro is inserted once.
    check(u"%CLIPBOARD_TEXT%", u"<sel>", 2, u"sel", u"<%SELECTED_TEXT%>");
    check(u"%CLIPBOARD_TEXT%%CLIPBOARD_TEXT%", u"%CLIPBOARD_TEXT%%CLIPBOARD_TEXT%", 2, u"",
          u"%CLIPBOARD_TEXT%");
    check(u"a%PROMPT_TEXT={}%b", u"ab", 1);
}

TEST_F(MacroExpansionTest, SourcesTheProgramFillsAndTheClipboardAddress) {
    phrases::CurrentMacroSources() = {
        [] { return Text(300, u'u'); },
        [] { return Text(u"Windows 10 64x build 19045 "); },
        [](int which) { return u"2.61.0." + ToText(which); },
    };
    const MacroTable table = MacroTable::FromLayouts({});
    Expanded got = Expand(table,
                          u"%WINDOWS_VERSION%|%WLK_VERSION%|%WLK_VERSION_EDITOR%|"
                          u"%WLK_VERSION_DLL%|%WINDOWS_USERNAME%");
    EXPECT_EQ(got.text,
              u"Windows 10 64x build 19045 |2.61.0.0|2.61.0.1|2.61.0.2|" + Text(256, u'u'));

    got = Expand(table, u"see %URL_FROM_CLIPBOARD%!", u"", u" https://a.b/c?d e");
    EXPECT_EQ(got.text, u"see https://a.b/c?d!");
    EXPECT_EQ(got.count, 1);
}

TEST_F(MacroExpansionTest, WindowsVersionNames) {
    const std::pair<phrases::OsVersion, const char16_t*> cases[] = {
        {{true, true, 5, 1, 2600, false, u"SP3"}, u"Windows XP 32x build 2600 SP3"},
        {{true, false, 6, 1, 7601, true, u""}, u"Windows Server 2008 R2 64x build 7601 "},
        {{true, false, 10, 0, 19045, true, u""}, u"Windows 10 64x build 19045 "},
    };
    for (const auto& [version, expected] : cases)
        EXPECT_EQ(ToUtf8(phrases::WindowsVersionText(version)), ToUtf8(expected));
}

TEST_F(MacroExpansionTest, LayoutTableCaretAndLayoutSwitch) {
    const MacroTable table =
        MacroTable::FromLayouts({0x04190419, 0x04070407, 0x04110411, 0x04090409, 0xF0020419});
    // The table, the body, and the text, caret and layout it expands to.
    using Case = std::tuple<const MacroTable*, const char16_t*, const char16_t*, int,
                            std::optional<uint16_t>>;
    const MacroTable englishOnly = MacroTable::FromLayouts({0x04090409});
    const MacroTable russianOnly = MacroTable::FromLayouts({0x04190419});
    const Case cases[] = {
        {&table, u"ab%CURSOR_POS%\r\nxyz", u"ab\r\nxyz", 4, std::nullopt},
        {&table, u"abc%CURSOR_POS%", u"abc", 0, std::nullopt},
        {&englishOnly, u"%ACTIVATE_KL_EN%Hi%ACTIVATE_KL_EN%", u"Hi", 0, 0x0409},
        {&russianOnly, u"%ACTIVATE_KL_EN%Hi", u"%ACTIVATE_KL_EN%Hi", 0, std::nullopt},
        // The last layout in table order wins, not the last in the body.
        {&table, u"%ACTIVATE_KL_RU%a%ACTIVATE_KL_DE%b", u"ab", 0, 0x0419},
        {&table, u"%ACTIVATE_KL_DE%%CURSOR_POS%ok", u"ok", 2, 0x0407},
    };
    for (const auto& [in, body, expected, caret, layout] : cases) {
        SCOPED_TRACE(ToUtf8(body));
        const Expanded got = Expand(*in, body);
        EXPECT_EQ(std::tuple(ToUtf8(got.text), got.caret, got.layout),
                  std::tuple(ToUtf8(expected), caret, layout));
    }
    Text body = u"x%ACTIVATE_KL_RU%y";
    EXPECT_EQ(phrases::FindLayoutMacro(table, body), 0x0419);
    EXPECT_EQ(body, u"xy");
}

TEST_F(MacroExpansionTest, PromptsSplitTheBody) {
    using Segments = std::vector<std::tuple<bool, Text, Text>>;
    const std::pair<const char16_t*, Segments> cases[] = {
        {u"Dear %PROMPT_TEXT={name}%, hi",
         {{false, u"Dear ", u""}, {true, u"%PROMPT_TEXT={name}%", u"name"}, {false, u", hi", u""}}},
        {u"%prompt_Text={a}%%PROMPT_TEXT={}%",
         {{true, u"%prompt_Text={a}%", u"a"}, {true, u"%PROMPT_TEXT={}%", u""}}},
        {u"%PROMPT_TEXT={a}% then %PROMPT_TEXT={b",
         {{true, u"%PROMPT_TEXT={a}%", u"a"}, {false, u" then %PROMPT_TEXT={b", u""}}},
    };
    for (const auto& [body, expected] : cases) {
        SCOPED_TRACE(ToUtf8(body));
        Segments got;
        for (const auto& s : phrases::SplitPrompts(body))
            got.emplace_back(s.isPrompt, s.text, s.isPrompt ? s.promptText : Text());
        EXPECT_EQ(got, expected);
    }
}

TEST_F(MacroExpansionTest, NumbersInRussianWords) {
    const std::pair<uint32_t, const char16_t*> numbers[] = {
        {21, u"двадцать один"},
        {2000, u"две тысячи"},
        {5000, u"пять тысяч"},
        {21000, u"двадцать одна тысяча"},
        {2000000, u"два миллиона"},
        {5000000, u"пять миллионов"},
        {4294967295u,
         u"четыре миллиарда двести девяносто четыре миллиона девятьсот шестьдесят "
         u"семь тысяч двести девяносто пять"},
    };
    for (const auto& [n, words] : numbers)
        EXPECT_EQ(ToUtf8(phrases::NumberToWords(n)), ToUtf8(words)) << n;

    const std::pair<const char16_t*, const char16_t*> texts[] = {
        {u"a1b22 007", u"aодинbдвадцать два семь"},
        {u"2147483647",
         u"два миллиарда сто сорок семь миллионов четыреста восемьдесят три "
         u"тысячи шестьсот сорок семь"},
        {u"2147483648 and 99999999999999999999", u"2147483648 and 99999999999999999999"},
    };
    for (const auto& [text, words] : texts)
        EXPECT_EQ(ToUtf8(phrases::NumbersToWords(text)), ToUtf8(words));
}

}  // namespace
}  // namespace wlk::test
