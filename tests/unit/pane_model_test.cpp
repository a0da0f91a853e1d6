// The history pane's model: which commands apply to the rows, Protect and
// Delete, the texts it shows and opens, the case and line transforms, and
// find as you type.
#include "pane/pane_commands.h"
#include "pane/pane_filter.h"
#include "pane/pane_texts.h"
#include "pane/text_transforms.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;
using history::CCHItem;
using history::SavedState;
using namespace pane;

// Upper-cases RTF as a whole and can trim nothing, so that each result shows
// which side made it.
class FakeRtf : public RtfEditor {
public:
    bool ChangeCase(Text& rtf, CaseChange) override {
        rtf = ToUpper(rtf);
        return true;
    }
    bool Trim(Text&, size_t&) override { return false; }
    bool Join(Text&, size_t&) override { return false; }
};

class PaneModelTest : public PlatformTest {
protected:
    CCHItem* Append(std::unique_ptr<CCHItem> item, bool isProtected = false) {
        item->isProtected = isProtected;
        queue.Append(std::move(item));
        return queue.Newest(0);
    }
    std::unique_ptr<CCHItem> Bitmap() {
        const uint32_t pixels[6] = {};
        auto item = std::make_unique<CCHItem>(history::CHT_BITMAP);
        item->SetBitmap(P().bitmaps.FromPixels(3, 2, pixels));
        return item;
    }
    // One letter a command: "e" enabled, "c" checked too, "-" disabled.
    std::string States(const std::vector<uint32_t>& commands, const PaneSelection& selection,
                       const PaneFacts& facts = {}) {
        std::string states;
        for (uint32_t command : commands) {
            const CommandState state = StateOf(command, queue, selection, facts);
            states += state.checked ? 'c' : state.enabled ? 'e' : '-';
        }
        return states;
    }

    history::CCHQueue queue{Dir()};
    FakeRtf rtf;
};

TEST_F(PaneModelTest, CommandsFollowTheFocusedAndSelectedRows) {
    // Newest first: 0 text from a page, 1 protected Quirenote with RTF beside
    // it, 2 protected bitmap, 3 HTML.
    Append(DataItem(history::CHT_HTML, "<body>x</body>"s));
    Append(Bitmap(), true);
    CCHItem* note = Append(DataItem(history::CHT_QUIRENOTE, "QN\x01"), true);
    note->formats.push_back(DataItem(history::CHT_RTF, "{\\rtf1 note}\0"s));
    Append(TextItem(u"example.com"))->sourceUrl = u"https://example.com/";

    const std::vector<uint32_t> rows{kCmdCopy,      kCmdSave,       kCmdEdit,    kCmdOpenAsUrl,
                                     kCmdCopyAsRtf, kCmdCopyAsHtml, kCmdProtect, kCmdCopySourceUrl,
                                     kCmdUppercase, kCmdJoin,       kCmdDelete};
    EXPECT_EQ(States(rows, {1, {1, 2}}), "ee-ee-c----");
    EXPECT_EQ(States(rows, {0, {0, 2, 9}}), "eeee--eeeee");
    EXPECT_EQ(States(rows, {2, {3}}), "eee---c---e");
    EXPECT_EQ(States(rows, {9, {2, 9}}), "-----------");

    const std::vector<uint32_t> rest{kCmdSearchGoogle, kCmdSearchMsdn, kCmdCollapse, kCmdFix,
                                     kCmdKeep,         kCmdClear,      kCmdUndo,     kCmdClose};
    EXPECT_EQ(States(rest, {}), "--eeee-e");
    EXPECT_EQ(States(rest, {}, {false, true, false, true}), "eecece-e");

    // Delete takes the unprotected rows in list order; with none left, Clear
    // has nothing to take and Undo can bring them back.
    EXPECT_EQ(DeletablePositions(queue, {2, {1, 2}}), std::vector<int>{});
    EXPECT_EQ(DeletablePositions(queue, {2, {3, 1, 0, 7}}), (std::vector<int>{3, 0}));
    ASSERT_TRUE(queue.Delete({3, 0}, true));
    EXPECT_EQ(States(rest, {}), "--eee-ee");
    EXPECT_EQ(UndoMenuText(u"Undo", queue.UndoCount()), u"Undo [1]");
}

TEST_F(PaneModelTest, ProtectTakesTheOppositeOfTheFocusedRow) {
    CCHItem* a = Append(TextItem(u"a"));
    CCHItem* b = Append(TextItem(u"b"), true);
    CCHItem* c = Append(TextItem(u"c"));
    EXPECT_FALSE(ProtectSelection(queue, {std::nullopt, {0, 1, 2}}));
    EXPECT_TRUE(ProtectSelection(queue, {0, {0, 1}}));
    EXPECT_EQ(std::tuple(c->isProtected, b->isProtected, a->isProtected),
              std::tuple(true, true, false));
    EXPECT_TRUE(ProtectSelection(queue, {1, {1, 2, 5}}));
    EXPECT_EQ(std::tuple(c->isProtected, b->isProtected, a->isProtected),
              std::tuple(true, false, false));
}

TEST_F(PaneModelTest, TextsOfRowsTooltipsAddressesAndFileNames) {
    EXPECT_EQ(UrlFromText(u"mailto:a@b.c"), u"mailto:a@b.c");
    EXPECT_EQ(UrlFromText(u"example.com"), u"http://example.com");
    // One pass for three blanks, one for two: five leave two.
    EXPECT_EQ(UrlFromText(u"www.x.org/a\r\nb\tc\n\rd     e"), u"http://www.x.org/a b c d  e");

    CCHItem* text = Append(TextItem(u"\r\n \t\r\n \tReport: Q1/Q2 \"final\"   draft...\r\nsecond"));
    EXPECT_EQ(RowText(*text), u" \tReport: Q1/Q2 \"final\"   draft...");
    EXPECT_EQ(SuggestedFileName(*text), u"Report_ Q1_Q2 _final_ draft");
    text->SetUnicodeText(u"A very long first line that a file name cuts. Here");
    EXPECT_EQ(SuggestedFileName(*text), u"A very long first line that a file name");
    EXPECT_EQ(SuggestedFileName(*Append(DataItem(history::CHT_RTF, "{\\rtf1 Memo\\par x}\0"s))),
              u"Memo");
    EXPECT_EQ(SuggestedFileName(*Append(DataItem(history::CHT_QUIRENOTE, "QN"))),
              u"Quirenote_Document.qnd");

    CCHItem* bitmap = Append(Bitmap());
    EXPECT_EQ(std::tuple(RowText(*bitmap), SuggestedFileName(*bitmap)),
              std::tuple(Text(u"Bitmap 3\u00D72"), Text()));
    const TooltipLabels labels{u"Data Format", u"Formats", u"Text Length", u"Time"};
    CCHItem* rtfItem = Append(DataItem(history::CHT_RTF, "{\\rtf1 Hello\\tab world}\0"s));
    rtfItem->formats.push_back(DataItem(history::CHT_HTML, "<b>Hello</b>"));
    rtfItem->sourceUrl = u"https://x.org/";
    EXPECT_EQ(ItemTooltip(*rtfItem, labels, u"9:05"),
              u"Data Format: Rich Text Format\r\nFormats: HTML Format\r\nText Length: 11\r\n"
              u"Time: 9:05\r\n\tURL: https://x.org/");
}

TEST_F(PaneModelTest, TransformsChangeTextItemsAndCountWhatTheyDid) {
    CCHItem* joined = Append(TextItem(u" one\r\ntwo\n\rthree\n"));
    EXPECT_EQ(Join(queue, {0}, rtf).count, 2u);
    EXPECT_EQ(joined->PlainText(), u"one two three");

    CCHItem* ansi = Append(DataItem(history::CHT_TEXT_ANSI, "\n\tx y \n\0"s));
    CCHItem* cr = Append(TextItem(u" \tabc\r\n"));
    CCHItem* richText = Append(DataItem(history::CHT_RTF, "{\\rtf1 a }\0"s));
    cr->menuCaption = u"cached";
    const TransformResult trimmed = Trim(queue, {0, 1, 2, 3, 8}, rtf);
    EXPECT_EQ(trimmed.changed, (std::vector<size_t>{1, 2}));
    EXPECT_EQ(trimmed.count, 7u);
    EXPECT_EQ(std::tuple(cr->PlainText(), ansi->PlainText(), cr->menuCaption),
              std::tuple(Text(u"abc\r"), Text(u"x y"), Text()));

    // Every changed item is written anew, its old data file kept until then.
    CCHItem* unicode = Append(TextItem(u"Счёт für café"));
    ansi->SetAnsiText("Caf\xe9 \xff\xb5");
    for (CCHItem* item : {unicode, ansi, richText}) {
        item->saved = SavedState::Loaded;
        item->dataPath = u"C:\\H\\data" + ToText(item->id);
    }
    const uint64_t ansiStamp = ansi->stamp;
    const TransformResult upper = ChangeCase(queue, {0, 1, 3, 7}, CaseChange::Upper, rtf);
    EXPECT_EQ(upper.changed, (std::vector<size_t>{0, 1, 3}));
    EXPECT_EQ(unicode->PlainText(), u"СЧЁТ FÜR CAFÉ");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ansi->Data())), "CAF\xc9 \xff\xb5");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(richText->Data())), "{\\RTF1 A }");
    for (CCHItem* item : {unicode, ansi, richText})
        EXPECT_EQ(std::tuple(item->saved, item->dataPath, item->oldFiles.size()),
                  std::tuple(SavedState::NotOnDisk, Text(), size_t(1)));
    EXPECT_NE(ansi->stamp, ansiStamp);
}

TEST_F(PaneModelTest, FilterFindsEveryWordIgnoringCaseNewestFirst) {
    Append(TextItem(u"Invoice for March\r\nto pay"));
    Append(Bitmap());
    Append(DataItem(history::CHT_TEXT_ANSI, "MARCH invoice paid\0"s));
    CCHItem* russian = Append(TextItem(u"Счёт за МАРТ"));
    Append(DataItem(history::CHT_HTML, "<body><p>March&nbsp;<b>Invoices</b></p></body>"));
    PaneFilter filter;
    using Positions = std::vector<size_t>;
    EXPECT_EQ(filter.Apply(queue, u"  inVOICE\tmarch "), (Positions{0, 2, 4}));
    EXPECT_EQ(filter.Apply(queue, u"invoice marc paid"), (Positions{2}));
    EXPECT_EQ(filter.Apply(queue, u"сЧЁт март"), (Positions{1}));
    EXPECT_EQ(filter.Apply(queue, u" \r\n"), (Positions{0, 1, 2, 3, 4}));

    russian->SetUnicodeText(u"Invoice, March");
    EXPECT_EQ(filter.Apply(queue, u"invoice march"), (Positions{0, 1, 2, 4}));
    EXPECT_EQ(filter.Apply(queue, u"счёт"), Positions{});
}

}  // namespace
}  // namespace wlk::test
