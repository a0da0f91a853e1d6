// How texts are stored in language files and how menu texts become keys.
#include <gtest/gtest.h>

#include "language/escaping.h"
#include "language/interface_strings.h"
#include "language/menu_key.h"

namespace wlk::test {
namespace {

using language::CleanMenuText;

// A translation file shows the common sequences read; these are the edges and
// the way back.
TEST(LanguageTextTest, ControlCharactersTravelAsTwoCharacterSequences) {
    // Other backslashes are part of the text, at the end too.
    EXPECT_EQ(language::Unescape(u"Edit menu\\settings\\"), u"Edit menu\\settings\\");
    EXPECT_EQ(language::Unescape(u"\\\\n"), u"\\\n");
    const Text mixed = u"Line 1\r\nLine 2\n\tIndented\rEnd \\ ok";
    EXPECT_EQ(language::Escape(mixed).find_first_of(u"\r\n\t"), Text::npos);
    EXPECT_EQ(language::Unescape(language::Escape(mixed)), mixed);
}

TEST(LanguageTextTest, MenuKeysLoseMarksEllipsesShortcutAndBlanks) {
    // The common shapes are shown by the menu translation itself; these are the edges.
    auto about = CleanMenuText(u"&About Wordlark\u2026\tCtrl+F1");
    EXPECT_EQ(about.display, u"About Wordlark\u2026");
    EXPECT_EQ(CleanMenuText(u"Save\u2026").key, CleanMenuText(u"Sa&ve...").key);
    EXPECT_EQ(CleanMenuText(u"Edit Phrases\\Settings\u2026").key, u"Edit_Phrases\\Settings");
    // Only the first tab separates the shortcut.
    auto tabs = CleanMenuText(u"E&xit\tAlt+F4\tmore");
    EXPECT_EQ(tabs.key, u"Exit");
    EXPECT_EQ(tabs.shortcut, u"Alt+F4\tmore");
}

TEST(LanguageTextTest, EveryBuiltInStringIsThereOnceAndReadable) {
    // The string table and the portable look-up read the same list; a stray
    // control character or missing text would show differently in each.
    EXPECT_EQ(language::EnglishString(1060), u"Press system hot key detected");
    EXPECT_FALSE(language::EnglishString(0));
    for (uint32_t id = 1; id < 65536; ++id) {
        auto text = language::EnglishString(id);
        if (!text) continue;
        EXPECT_FALSE(text->empty()) << id;
        EXPECT_EQ(text->find_first_of(u"\r\n\t"), Text::npos) << id;
    }
}

}  // namespace
}  // namespace wlk::test
