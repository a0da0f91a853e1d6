// The phrase menu's model: shortening texts, phrase items previewed
// through macro expansion, the tree level by level, the clipboard history, the
// extra commands and the keys of the open menu.
#include <algorithm>
#include <stdexcept>

#include "history/ch_queue.h"
#include "menu/menu_builder.h"
#include "menu/menu_keys.h"
#include "menu/menu_texts.h"
#include "menu/phrase_item.h"
#include "phrases/macro_expansion.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using menu::MenuModel;
using phrases::CommandDataType;
using phrases::CWLKCommand;

constexpr platform::LocalTime kTuesday{2024, 3, 2, 5, 9, 7, 5, 0};
constexpr uint32_t kEnglishLayout = 0x04090409;

// RTF as "{\rtf1 <text>}": macros expand in the text, the plain text is the text.
class BracedRtf : public phrases::RtfExpander {
public:
    int ExpandMacrosRtf(Text& rtf, const Text& selected, const Text& clipboard, uint32_t*,
                        std::optional<uint16_t>* layout, uint32_t lcid) override {
        if (fail) throw std::runtime_error("rich edit gone");
        return phrases::ExpandMacros(rtf, selected, clipboard, nullptr, layout, lcid);
    }
    Text PlainText(const Text& rtf) override { return rtf.substr(7, rtf.size() - 8); }
    bool fail = false;
};

CWLKCommand Phrase(uint32_t id, const char16_t* name, const char16_t* body = u"",
                   CommandDataType type = CommandDataType::TEXT) {
    CWLKCommand node;
    node.id = id;
    node.name = name;
    node.command = body;
    node.dataType = type;
    return node;
}

CWLKCommand Group(uint32_t id, const char16_t* name, std::vector<CWLKCommand> children) {
    CWLKCommand group = Phrase(id, name);
    group.MakeGroup();
    for (auto& child : children) group.children->push_back(std::move(child));
    return group;
}

// Each item of a level as "id:label" ("-tag" for a separator, "label>" for a
// submenu), with "*" before a default item and "~" after a greyed one.
std::vector<std::string> Shape(const MenuModel& menu) {
    std::vector<std::string> shape;
    for (const auto& entry : menu.items) {
        const std::string mark = entry.data.isDefault ? "*" : "";
        const std::string grey = entry.data.grayed ? "~" : "";
        if (entry.data.IsSeparator())
            shape.push_back("-" + ToUtf8(entry.data.tag));
        else if (entry.submenu)
            shape.push_back(mark + ToUtf8(entry.data.label) + ">" + grey);
        else
            shape.push_back(mark + std::to_string(entry.id) + ":" + ToUtf8(entry.data.label) +
                            grey);
    }
    return shape;
}

class PhraseMenuTest : public LoggedTest {
protected:
    void SetUp() override {
        LoggedTest::SetUp();
        Sim().system.now = kTuesday;
        request.hkl = kEnglishLayout;
    }
    std::unique_ptr<MenuModel> Make(const history::CCHQueue* history = nullptr) {
        return menu::MakeMenu({tree, history, lastUsed, options, &rtf}, request);
    }
    menu::MenuItemData Item(const CWLKCommand& phrase) {
        phrases::MacroValues values(request.selText, request.clipboardText, request.hkl & 0xFFFF);
        return menu::MakePhraseItem(phrase, request, values, &rtf);
    }
    void AddHistory(history::CCHQueue& queue, int count) {
        for (int i = 0; i < count; ++i) queue.Append(TextItem(u"clip " + ToText(i)));
    }

    phrases::CWLKCommandTree tree;
    menu::LastUsedList lastUsed;
    menu::MenuOptions options;
    menu::MenuRequest request;
    BracedRtf rtf;
};

// Titles cut to their first line are shown by the phrase items below.
TEST_F(PhraseMenuTest, TextsAreShortenedAroundWordBreaks) {
    using Case = std::tuple<const char16_t*, size_t, const char16_t*>;
    const Case shortened[] = {
        // Not longer than the limit: as it is, line breaks and all.
        {u"a\r\nb", 40, u"a\r\nb"},
        // The head ends at the furthest first separator; a first space at 3 wins alone.
        {u"The quick brown fox jumps over the lazy dog and keeps running far away", 40,
         u"The…running far away"},
        {u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 40,
         u"xxxxxxxxxxxxxxxxxxxx…xxxxxxxxxxxxxxxxxxxx"},
        // Line breaks become spaces, blank runs shrink one pass each, the ends are trimmed.
        {u"  line one\r\n\r\nline   two  \t", 10, u"line…two"},
        // Runs of 4, 5 and 7 blanks keep 1, 2 and 2; CR CR LF and LF CR, two blanks each, keep 1.
        {u"a    b     c       d\r\r\ne\n\rf", 20, u"a b  c  d e f"},
        {u"¶¶abcdefghijkl¶", 10, u"abcde…hijkl"},
    };
    for (const auto& [text, n, expected] : shortened)
        EXPECT_EQ(menu::ShortenText(text, n), expected) << ToUtf8(text);
}

TEST_F(PhraseMenuTest, PhraseItemsShowTheirExpandedBodyCaretTagTooltipAndIcon) {
    const Text date = u"Tuesday, March 5, 2024";
    auto today = Item(Phrase(1, u"Today", u"%DATE%"));
    EXPECT_EQ(today.label, date);
    EXPECT_EQ(menu::ItemTooltip(today),
              u"Insert plain text » " + date + u"\nChars: 22\r\n\r\n" + date);
    EXPECT_EQ(std::tie(today.caretPos, today.iconKey), std::tuple(-1, menu::kIconText));

    request.selText = u"Ann";
    auto letter = Item(Phrase(2, u"Sig", u"Dear %SELECTED_TEXT%,\r\n%CURSOR_POS%Regards\tBob"));
    EXPECT_EQ(letter.label, u"Dear Ann,¶ Regards  Bob");
    EXPECT_EQ(letter.caretPos, 10) << "after the line mark that stands for CR LF";
    EXPECT_EQ(menu::ItemTooltip(letter),
              u"Insert plain text » Dear Ann,¶ Regards  Bob\nChars: 22\r\n\r\n"
              u"Dear Ann,\r\nRegards\tBob");

    // Without a replaced macro a plain text keeps its name; a layout macro gives the tag.
    auto greet = Item(Phrase(3, u"Greet", u"%ACTIVATE_KL_EN%Hello"));
    EXPECT_EQ(std::tie(greet.label, greet.tag), std::tuple(Text(u"Greet"), Text(u"+EN")));
    EXPECT_EQ(menu::ItemTooltip(greet),
              u"Insert plain text » Greet\nChars: 5\r\n\r\nHello"
              u"   Activate keyboard layout EN\r\n+ ");

    request.selText = u"x y";
    auto search =
        Item(Phrase(4, u"Search", u"http://GOOGLE.com/?q=%SELECTED_TEXT%", CommandDataType::EXEC));
    EXPECT_EQ(search.label, u"Search [x y]") << "a command shows its name";
    EXPECT_EQ(menu::ItemTooltip(search),
              u"Execute application » Search [x y]\r\n\r\nhttp://GOOGLE.com/?q=x y");
    EXPECT_EQ(search.iconKey, menu::kIconGoogle);

    auto rich = Item(Phrase(7, u"Rich", u"{\\rtf1 On %CURSOR_POS%%YEAR%}", CommandDataType::RTF));
    EXPECT_EQ(std::tie(rich.label, rich.caretPos, rich.iconKey),
              std::tuple(Text(u"On  2024"), 3, menu::kIconRtf));
    EXPECT_EQ(menu::ItemTooltip(rich),
              u"Insert formatted text » On  2024\nChars: 7\r\n\r\nOn 2024");

    auto titled =
        Phrase(8, u"  Long title that goes on and on beyond forty chars\nsecond", u"%DATE%");
    titled.useTitleOnly = true;
    EXPECT_EQ(Item(titled).label, u"Long title that goes on and on beyond fo…");
    // An empty label falls back to the title; a long one is shortened.
    EXPECT_EQ(Item(Phrase(9, u"Blank", u"%CLIPBOARD_TEXT%")).label, u"Blank");
    request.clipboardText = u"one two three four five six seven eight nine ten";
    EXPECT_EQ(Item(Phrase(10, u"Clip", u"%CLIPBOARD_TEXT%")).label, u"one…eight nine ten");
}

TEST_F(PhraseMenuTest, EachMenuPreviewsItsOwnMomentAndEachPhraseItsOwnSelection) {
    // A phrase that trims the protocol from the selection keeps that to itself.
    const char16_t* trimmed = u"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%%SELECTED_TEXT%";
    tree.Commands() = {Phrase(1, u"Host", trimmed), Phrase(2, u"Link", u"%SELECTED_TEXT% %DATE%"),
                       Phrase(3, u"Host again", trimmed)};
    request.selText = u"http://a.b";
    const auto labels = [this] {
        std::vector<Text> shown;
        const auto menu = Make();
        for (size_t i = 0; i < 3; ++i) shown.push_back(menu->items[i].data.label);
        return shown;
    };
    EXPECT_EQ(labels(), (std::vector<Text>{u"a.b", u"http://a.b Tuesday, March 5, 2024", u"a.b"}));
    // The next press, a day later, shows the new date.
    Sim().system.now = platform::LocalTime{2024, 3, 3, 6, 9, 7, 5, 0};
    EXPECT_EQ(labels()[1], u"http://a.b Wednesday, March 6, 2024");
}

TEST_F(PhraseMenuTest, TreeLevelsKeepTheirRulesForGroupsSeparatorsAndLastUsed) {
    auto greyed = Phrase(3, u"Quote", u"[%SELECTED_TEXT%]");
    greyed.disabledIsNoHasSelection = true;
    auto excluded = Phrase(21, u"hidden");
    excluded.SetIncluded(false);
    auto fenced = Phrase(4, u"Fenced");
    fenced.flagsMenu = CWLKCommand::kSeparatorBefore | CWLKCommand::kSeparatorAfter;
    auto& top = tree.Commands();
    top.push_back(Group(10, u"Mail", {Phrase(1, u"Hi"), Phrase(2, u"Bye")}));
    top.push_back(Phrase(1, u"Hi"));
    top.push_back(greyed);
    top.push_back(fenced);
    top.push_back(Group(20, u"Excluded", {excluded}));
    top.push_back(Group(30, u"Hollow", {Group(31, u"Empty", {})}));
    top.push_back(Phrase(2500, u"Too high"));
    lastUsed.SetLastUsed(99, 3);
    lastUsed.SetLastUsed(menu::kCmdEditSetting, 3);
    lastUsed.SetLastUsed(1, 3);
    options.history = false;
    const auto readLog = OpenLog();

    auto menu = Make();
    ASSERT_NE(menu, nullptr);
    // The last used phrase shows once at the top; its group is a default item
    // too, and nothing is selected to quote or to make a phrase of.
    EXPECT_EQ(Shape(*menu),
              (std::vector<std::string>{"*1:Hi", "-Other commands", "3:[]~", "-", "4:Fenced", "-",
                                        "*Mail>", "-Clipboard History [Skipped]",
                                        "32772:Edit menu\\settings", "32826:Selection into Phrase~",
                                        "-Visit to us", "32784:Technical Support"}));
    EXPECT_TRUE(Sim().ui.MessageBoxes().empty());

    const auto& mail = menu->items[6];
    EXPECT_EQ(Shape(*mail.submenu), (std::vector<std::string>{"*1:Hi", "2:Bye"}));
    EXPECT_EQ(
        std::pair(menu->items[0].data.lastUsedIndex, mail.submenu->items[0].data.lastUsedIndex),
        std::pair(0, -1));
    EXPECT_EQ(menu::ItemTooltip(menu->items[9].data), u"Add selected text as new phrase");
    EXPECT_EQ(menu->items[8].data.tooltip, u"You can change this menu, phrases and settings here");

    request.selText = u"\r\n  a selection that runs on well past forty chars\r\nline 2";
    menu = Make();
    EXPECT_FALSE(menu->items[2].data.grayed);
    EXPECT_FALSE(menu->items[9].data.grayed);
    EXPECT_EQ(menu->items[9].data.label,
              u"Selection into Phrase [a selection that runs on well past forty…]…");

    // Nothing at all gives no menu.
    options = {};
    options.lastUsed = options.editSetting = options.saveSelAsPhrase = options.support = false;
    top.clear();
    EXPECT_EQ(Make(), nullptr);

    // Groups nested 50 deep show as deep as Windows nests submenus.
    CWLKCommand chain = Group(150, u"g50", {Phrase(1500, u"deepest")});
    for (uint32_t level = 49; level >= 1; --level)
        chain = Group(100 + level, u"g", {Phrase(1400 + level, u"p"), chain});
    top.push_back(chain);
    const auto deep = Make();
    int depth = 0;
    for (const MenuModel* level = deep.get(); level; ++depth) {
        const auto group = std::find_if(level->items.begin(), level->items.end(),
                                        [](const auto& entry) { return entry.submenu != nullptr; });
        level = group == level->items.end() ? nullptr : group->submenu.get();
    }
    EXPECT_EQ(depth, 25) << "the top level and 24 groups";
    EXPECT_NE(readLog().find("Group left out of the menu, groups nest at most 24 deep: [g]"),
              std::string::npos);
}

TEST_F(PhraseMenuTest, HistoryItemsFollowTheirLimitAndOverflowIntoMoreHistory) {
    history::CCHQueue queue(Dir());
    AddHistory(queue, 40);
    queue.Newest(0)->sourceUrl = u"https://example.org/";
    tree.Commands().push_back(Phrase(1, u"Hi"));
    options.maxHistory = 0;

    auto menu = Make(&queue);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 1u + 1 + 15 + 1 + 4 + 1);
    EXPECT_EQ(menu->items[1].data.tag, u"Clipboard History [40/40]");
    const auto& newest = menu->items[2];
    EXPECT_EQ(std::tie(newest.id, newest.data.label, newest.data.kind),
              std::tuple(2000u, Text(u"clip 39"), menu::ItemKind::History));
    EXPECT_EQ(newest.data.tooltip,
              u"Data from clipboard history: Unicode text\nChars: 7\r\n\r\n"
              u"clip 39\r\n\tURL: https://example.org/");
    const auto& more = menu->items[17];
    EXPECT_EQ(more.data.label, u"More History [25]…");
    ASSERT_EQ(more.submenu->items.size(), 25u);
    EXPECT_EQ(std::tie(more.submenu->items[0].id, more.submenu->items[0].data.index),
              std::tuple(2015u, 15));
    EXPECT_EQ(more.submenu->items[24].data.label, u"clip 0");

    options.maxHistory = 10;
    menu = Make(&queue);
    EXPECT_EQ(menu->items[1].data.tag, u"Clipboard History [10/40]");
    EXPECT_EQ(menu->Find(2009)->data.label, u"clip 30");

    options.historyAsSubmenu = true;
    tree.Commands().clear();
    options.lastUsed = false;
    menu = Make(&queue);
    ASSERT_TRUE(menu->items[0].submenu) << "an empty menu gets no separator before it";
    EXPECT_EQ(std::tuple(menu->items[0].data.label, menu->items[0].submenu->items.size()),
              std::tuple(Text(u"Clipboard History [10\\40]"), 10u));
}

TEST_F(PhraseMenuTest, AFaultWhileBuildingIsReportedAndGivesNoMenu) {
    tree.Commands().push_back(Phrase(1, u"Rich", u"{\\rtf1 x}", CommandDataType::RTF));
    rtf.fail = true;
    EXPECT_EQ(Make(), nullptr);
    ASSERT_EQ(Sim().ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(Sim().ui.MessageBoxes()[0].text,
              u"ERROR: Exception in IDataNeededHander_MenuSelf::MakeMenu "
              u"GetExceptionCode=3765269347 status=[Not found]");
    rtf.fail = false;
    EXPECT_NE(Make(), nullptr) << "the next request is served";
}

// A reload numbers the phrases anew: the last used list follows their files,
// so that an edited phrase stays on top and a deleted one leaves quietly.
TEST_F(PhraseMenuTest, LastUsedPhrasesFollowTheirFilesThroughAReload) {
    auto inFile = [](uint32_t id, const char16_t* name, const Text& file) {
        CWLKCommand phrase = Phrase(id, name);
        phrase.SetPath(file);
        return phrase;
    };
    const Text kept = u"C:\\P\\kept.wordlark", gone = u"C:\\P\\gone.wordlark";
    tree.Commands() = {inFile(1, u"Kept", kept), inFile(2, u"Gone", gone)};
    lastUsed.SetLastUsed(1, 3, kept);
    lastUsed.SetLastUsed(2, 3, gone);
    options.history = options.editSetting = options.saveSelAsPhrase = options.support = false;
    tree.Commands() = {inFile(7, u"Kept, edited", kept), inFile(8, u"New", u"C:\\P\\new.wordlark")};
    const auto readLog = OpenLog();

    EXPECT_EQ(Shape(*Make()), (std::vector<std::string>{"7:Kept, edited", "8:New"}))
        << "stale ids show nothing";
    lastUsed.Rebind(tree);
    EXPECT_EQ(lastUsed.Ids(), std::vector<uint32_t>{7});
    EXPECT_EQ(Shape(*Make()),
              (std::vector<std::string>{"*7:Kept, edited", "-Other commands", "8:New"}));
    EXPECT_NE(readLog().find("Last used phrase dropped, its file is gone: [C:\\P\\gone.wordlark]"),
              std::string::npos);
}

TEST_F(PhraseMenuTest, KeysOfTheOpenMenuAndTheLastUsedList) {
    for (uint32_t id : {1u, 2u, 3u, 1u}) lastUsed.SetLastUsed(id, 9);
    EXPECT_EQ(lastUsed.Ids(), (std::vector<uint32_t>{1, 3, 2})) << "9 counts as 3";

    history::CCHQueue queue(Dir());
    AddHistory(queue, 3);
    auto greyed = Phrase(2, u"beta");
    greyed.disabledIsNoHasSelection = true;
    tree.Commands().push_back(Phrase(1, u"Alpha"));
    tree.Commands().push_back(greyed);
    tree.Commands().push_back(Phrase(3, u"bravo"));
    options.historyAsSubmenu = true;
    options.lastUsed = false;
    auto menu = Make(&queue);
    std::vector<const menu::MenuItemData*> level;
    for (const auto& entry : menu->items) level.push_back(&entry.data);

    using Action = menu::MenuKeyResult::Action;
    // A typed key and the selected position, and the key's action, id and position.
    using Case = std::tuple<char16_t, int, Action, uint32_t, int>;
    ASSERT_EQ(Shape(*menu)[1], "2:beta~");
    const Case cases[] = {
        {u'3', -1, Action::Choose, 2002, -1},  // inside the history submenu
        {u'4', -1, Action::None, 0, -1},       // past the history's three items
        {u'B', -1, Action::Select, 0, 2},      // the greyed "beta" is passed over
        {u'a', 0, Action::Select, 0, 0},       // wraps round to itself
    };
    for (const auto& [ch, selected, action, id, position] : cases) {
        const auto result = menu::OnMenuKey(*menu, level, ch, selected);
        EXPECT_EQ(std::tuple(result.action, result.id, result.position),
                  std::tuple(action, id, position))
            << char(ch);
    }
}

}  // namespace
}  // namespace wlk::test
