// The phrase editor's macro catalog against the expansion's own table, and the
// live preview of a body against the simulated clock, clipboard and layout.
#include "editor/macro_catalog.h"

#include <algorithm>
#include <set>

#include "editor/body_preview.h"
#include "support/sim_access.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using editor::MacroGroup;
using phrases::CommandDataType;

// Tuesday, 5 March 2024, 09:07:05.
constexpr platform::LocalTime kTuesday{2024, 3, 2, 5, 9, 7, 5, 0};

// Shows RTF as its text between the braces of "{\rtf1 ...}".
class BracesRtf : public phrases::RtfExpander {
public:
    int ExpandMacrosRtf(Text&, const Text&, const Text&, uint32_t*, std::optional<uint16_t>*,
                        uint32_t) override {
        return 0;
    }
    Text PlainText(const Text& rtf) override { return rtf.substr(7, rtf.size() - 8); }
};

using MacroCatalogTest = PlatformTest;

TEST_F(MacroCatalogTest, EveryMacroOnceWithItsGroupAndDescription) {
    const auto table = phrases::MacroTable::FromLayouts({0x04190419, 0x04090409});
    const auto entries = editor::MacroCatalog(table);
    ASSERT_EQ(entries.size(), phrases::kFixedMacros.size() + 2);
    std::set<Text> descriptions;
    for (auto name : phrases::kFixedMacros) {
        SCOPED_TRACE(ToUtf8(Text(name)));
        EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                                [&](const auto& entry) { return entry.name == name; }),
                  1);
    }
    for (const auto& entry : entries) descriptions.insert(entry.description);
    EXPECT_EQ(descriptions.size(), entries.size()) << "one description each";

    const std::tuple<Text, MacroGroup, Text, Text> rows[] = {
        {u"%PROMPT_TEXT={}%", MacroGroup::KeysAndCaret, u"%PROMPT_TEXT={Question}%",
         u"Asks for text to insert here; edit the question"},
        {u"%ACTIVATE_KL_EN%", MacroGroup::KeysAndCaret, u"%ACTIVATE_KL_EN%",
         u"Switches the keyboard layout to EN"},
    };
    for (const auto& [name, group, insert, description] : rows) {
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const auto& entry) { return entry.name == name; });
        ASSERT_NE(it, entries.end()) << ToUtf8(name);
        EXPECT_EQ(std::tuple(it->group, ToUtf8(it->insert), ToUtf8(it->description)),
                  std::tuple(group, ToUtf8(insert), ToUtf8(description)));
    }
}

TEST_F(MacroCatalogTest, PreviewExpandsWithTheLiveValuesAndShowsPromptsAsQuestions) {
    Sim().system.now = kTuesday;
    Sim().clipboard.PutText(7, u"clip http://a.b");
    BracesRtf rtf;
    const Text body = u"%DATE%|%CLIPBOARD_TEXT%|%PROMPT_TEXT={Name?}%|%SELECTED_TEXT%%CURSOR_POS%.";
    const std::tuple<uint32_t, Text, CommandDataType, phrases::RtfExpander*, Text> rows[] = {
        {0x04090409, body, CommandDataType::TEXT, nullptr,
         u"Tuesday, March 5, 2024|clip http://a.b|[Name?]|."},
        {0x04070407, body, CommandDataType::EXEC, nullptr,
         u"Dienstag, 5. März 2024|clip http://a.b|[Name?]|."},
        {0x04090409, u"{\\rtf1 %YEAR2%%prompt_text={Who}%%KEYPRESS_TAB%}", CommandDataType::RTF,
         &rtf, u"24[Who]\t"},
        {0x04090409, u"%PROMPT_TEXT={unclosed %DAY2%", CommandDataType::TEXT, nullptr,
         u"%PROMPT_TEXT={unclosed 05"},
    };
    for (const auto& [layout, text, type, expander, expected] : rows) {
        Sim().targets.layouts[0] = layout;
        EXPECT_EQ(ToUtf8(editor::PreviewBody(text, type, expander)), ToUtf8(expected));
    }
}

}  // namespace
}  // namespace wlk::test
