// The phrase items kept between menus: what is taken from the cache equals
// what would be made afresh, and an item is made again when its phrase, the
// date, the clipboard or the interface language changes.
#include "menu/phrase_item_cache.h"

#include "language/active_language.h"
#include "menu/menu_builder.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using phrases::CWLKCommand;

constexpr platform::LocalTime kTuesday{2024, 3, 2, 5, 9, 7, 5, 0};
constexpr platform::LocalTime kWednesday{2024, 3, 3, 6, 9, 7, 5, 0};

CWLKCommand Phrase(uint32_t id, const char16_t* name, const char16_t* body) {
    CWLKCommand node;
    node.id = id;
    node.name = name;
    node.command = body;
    return node;
}

// Each item as "label | tooltip".
std::vector<std::string> Items(const menu::MenuModel& menu) {
    std::vector<std::string> items;
    for (const auto& entry : menu.items)
        items.push_back(ToUtf8(entry.data.label) + " | " + ToUtf8(entry.data.tooltip));
    return items;
}

class PhraseItemCacheTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        Sim().system.now = kTuesday;
        request = {u"", u"Mr Smith", 0x04090409};
        auto& list = tree.Commands();
        list.push_back(Phrase(1, u"Plain", u"Kind regards"));
        list.push_back(Phrase(2, u"Dated", u"Sent on %DATE%"));
        list.push_back(Phrase(3, u"Dear", u"Dear %CLIPBOARD_TEXT%,%CURSOR_POS%"));
        list.push_back(Phrase(4, u"Sale", u"50% off until %DATE%"));  // a stray '%'
        list.push_back(Phrase(5, u"Stamp", u"%DAY%%MONTHNUMBER%"));   // names side by side
    }
    void TearDown() override {
        language::LoadLanguage(Text(), false, Text());
        PlatformTest::TearDown();
    }
    // The menu through the cache; it must equal the menu made without one.
    std::vector<std::string> Menu() {
        const menu::LastUsedList lastUsed;
        const menu::MenuSources sources{tree, nullptr, lastUsed, {}, nullptr};
        const auto cached = menu::MakeMenu(sources, request, &cache);
        const auto fresh = menu::MakeMenu(sources, request);
        EXPECT_EQ(Items(*cached), Items(*fresh));
        return Items(*cached);
    }
    // Items made by the latest Menu().
    size_t Made() {
        const size_t made = cache.MadeCount() - counted;
        counted = cache.MadeCount();
        return made;
    }

    phrases::CWLKCommandTree tree;
    menu::MenuRequest request;
    menu::PhraseItemCache cache;
    size_t counted = 0;
};

TEST_F(PhraseItemCacheTest, KeptItemsAreMadeAgainOnlyWhenWhatTheyShowChanged) {
    const auto first = Menu();
    EXPECT_EQ(first[1],
              "Sent on Tuesday, March 5, 2024 | Insert plain text \u00BB Sent on Tuesday, "
              "March 5, 2024\nChars: 30\r\n\r\nSent on Tuesday, March 5, 2024");
    EXPECT_EQ(Made(), 5u);
    // The same request: only what cannot be kept (a stray '%', names that
    // touch) is made again.
    EXPECT_EQ(Menu(), first);
    EXPECT_EQ(Made(), 2u);

    Sim().system.now = kWednesday;
    const auto nextDay = Menu();
    EXPECT_EQ(nextDay[1].substr(0, 31), "Sent on Wednesday, March 6, 202");
    EXPECT_EQ(Made(), 3u);

    request.clipboardText = u"Ms Jones";
    EXPECT_EQ(Menu()[2].substr(0, 17), "Dear Ms Jones,  |");
    EXPECT_EQ(Made(), 3u);

    // A clipboard that holds a macro may complete one in the body.
    request.clipboardText = u"%DATE%";
    Menu();
    Menu();
    EXPECT_EQ(Made(), 6u);
}

TEST_F(PhraseItemCacheTest, ALibraryReloadOrAnotherLanguageMakesTheItemsAgain) {
    Menu();
    Made();
    // A reloaded library may give an id to another phrase.
    tree.Commands()[0] = Phrase(1, u"Thanks", u"Thank you");
    EXPECT_EQ(Menu()[0], "Thanks | Insert plain text \u00BB Thanks\nChars: 9\r\n\r\nThank you");
    EXPECT_EQ(Made(), 3u);
    cache.Clear();
    Menu();
    EXPECT_EQ(Made(), 5u);

    const Text german = Path("de.lng");
    WriteUtf16(german, "[Strings]\r\n162=Als Text einf\u00FCgen\r\n");
    language::LoadLanguage(german, false, Text());
    EXPECT_EQ(Menu()[0],
              "Thanks | Als Text einf\u00FCgen \u00BB Thanks\nChars: 9\r\n\r\nThank you");
    EXPECT_EQ(Made(), 5u);
}

}  // namespace
}  // namespace wlk::test
