// The history queue: the duplicate rule, the maximum, Clear, Delete, Undo,
// titles and the menu entries, against the simulated platform.
#include "history/ch_queue.h"
#include "history/history_menu.h"
#include "history/item_files.h"
#include "platform/text.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;
using history::CCHItem;
using history::CCHQueue;
using history::SavedState;

const Text kFolder = u"C:\\Program Files\\Wordlark\\ClipboardHistory\\";

class HistoryQueueTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        Sim().files.CreateDirectory(kFolder, platform::Security::Default);
    }
    // Adds with the given maximum; the item must be taken.
    CCHItem* Add(std::unique_ptr<CCHItem> item, size_t maximum = 30) {
        CCHItem* raw = item.get();
        EXPECT_TRUE(queue.Add(item, maximum));
        return raw;
    }
    // The texts, newest first, as the menu and the pane show them.
    std::vector<Text> Texts() {
        std::vector<Text> texts;
        for (size_t i = 0; i < queue.Count(); ++i) texts.push_back(queue.Newest(i)->PlainText());
        return texts;
    }
    // Adds and writes an item, so that it has files in the folder.
    CCHItem* AddSaved(std::u16string_view text, bool isProtected = false) {
        CCHItem* item = Add(TextItem(text, isProtected), 1000);
        EXPECT_TRUE(history::SaveItem(kFolder, *item));
        item->saved = SavedState::Written;
        return item;
    }
    size_t FilesInFolder() { return P().files.List(kFolder, u"*").size(); }

    CCHQueue queue{kFolder};
};

TEST_F(HistoryQueueTest, SameTextOrPixelsMoveToTheTopWithTheOldIdAndProtection) {
    CCHItem* first = Add(TextItem(u"alpha", true));
    const uint32_t firstId = first->id;
    Add(TextItem(u"beta"));
    CCHItem* again = Add(TextItem(u"alpha"));
    EXPECT_EQ(Texts(), (std::vector<Text>{u"alpha", u"beta"}));
    EXPECT_EQ(std::tuple(again->id, again->isProtected, queue.FindIndexById(firstId)),
              std::tuple(firstId, true, 1));

    // Letter case counts, and so does the type.
    Add(TextItem(u"Alpha"));
    Add(DataItem(history::CHT_RTF, "alpha\0"s));
    Add(DataItem(history::CHT_TEXT_ANSI, "alpha\0"s));
    EXPECT_EQ(queue.Count(), 5u);
    // Odd sizes compare to their end without reading past the block.
    Add(DataItem(history::CHT_HTML, "abc\0"s));
    Add(DataItem(history::CHT_HTML, "abc\0"s));
    Add(DataItem(history::CHT_HTML, "abcd\0"s));
    EXPECT_EQ(queue.Count(), 7u);

    // Bitmaps are the same only with the same pixels.
    const uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    uint32_t other[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFE};
    auto bitmap = [&](const uint32_t* p, int width, int height) {
        auto item = std::make_unique<CCHItem>(history::CHT_BITMAP);
        item->SetBitmap(P().bitmaps.FromPixels(width, height, std::span(p, 4)));
        return item;
    };
    Add(bitmap(pixels, 2, 2));
    Add(bitmap(other, 2, 2));
    Add(bitmap(pixels, 4, 1));  // same bytes, other header
    EXPECT_EQ(queue.Count(), 10u);
    Add(bitmap(pixels, 2, 2));
    EXPECT_EQ(queue.Count(), 10u);
    EXPECT_EQ(queue.Newest(0)->Bitmap()->Width(), 2);
    queue.Clear();
    queue.ClearUndoPool();
    EXPECT_EQ(Sim().bitmaps.Alive(), 0);
}

TEST_F(HistoryQueueTest, MaximumDropsTheOldestUnprotectedWithTheirFiles) {
    CCHItem* one = AddSaved(u"1", true);
    AddSaved(u"2");
    AddSaved(u"3", true);
    AddSaved(u"4");
    ASSERT_EQ(FilesInFolder(), 8u);
    const Text dropped = queue.Newest(2)->dataPath;  // "2"
    Add(TextItem(u"5"), 3);
    EXPECT_EQ(Texts(), (std::vector<Text>{u"5", u"4", u"3", u"1"}));
    EXPECT_EQ(P().files.Kind(dropped), platform::PathKind::Missing);
    EXPECT_EQ(FilesInFolder(), 6u);
    queue.Newest(0)->SetProtected(true);
    // Protected files are read-only; dropping must still delete them.
    one->SetProtected(false);
    Add(TextItem(u"6"), 2);
    EXPECT_EQ(Texts(), (std::vector<Text>{u"6", u"5", u"3"}));
    EXPECT_EQ(FilesInFolder(), 2u);

    // Many protected items keep the queue above its maximum.
    for (size_t i = 0; i < queue.Count(); ++i) queue.Newest(i)->isProtected = true;
    Add(TextItem(u"7"), 1);
    EXPECT_EQ(queue.Count(), 4u);
}

TEST_F(HistoryQueueTest, ClearKeepsProtectedItemsAndUndoBringsTheOldStateBack) {
    EXPECT_FALSE(queue.Clear()) << "nothing to clear";
    AddSaved(u"keep", true);
    AddSaved(u"drop");
    Sim().files.Put(kFolder + u"stray.dat", "x");
    Sim().files.Put(kFolder + u"noextension", "x");
    EXPECT_TRUE(queue.Clear());
    EXPECT_EQ(Texts(), (std::vector<Text>{u"keep"}));
    EXPECT_EQ(FilesInFolder(), 0u);
    EXPECT_EQ(queue.Newest(0)->saved, SavedState::NotOnDisk) << "written anew on the next save";
    EXPECT_TRUE(queue.Newest(0)->dataPath.empty());
    EXPECT_EQ(queue.UndoCount(), 1u);

    // A history of protected items only: all stay, and an undo entry is made.
    EXPECT_TRUE(queue.Clear());
    EXPECT_EQ(Texts(), (std::vector<Text>{u"keep"}));
    EXPECT_EQ(queue.UndoCount(), 2u);
    queue.Undo();

    // What came after the Clear goes; the copies come back in their order.
    Add(TextItem(u"new"));
    EXPECT_TRUE(queue.Undo());
    EXPECT_EQ(Texts(), (std::vector<Text>{u"drop", u"keep"}));
    EXPECT_EQ(queue.UndoCount(), 0u);
    EXPECT_FALSE(queue.Undo());
    EXPECT_EQ(queue.Count(), 2u);
}

TEST_F(HistoryQueueTest, DeleteCountsFromTheNewestAndSparesProtectedItems) {
    AddSaved(u"a");
    AddSaved(u"b", true);
    AddSaved(u"c");
    AddSaved(u"d");
    EXPECT_FALSE(queue.Delete({}, true));
    EXPECT_TRUE(queue.Delete({0, 2, 3, 99}, true));  // d, b (protected), a
    EXPECT_EQ(Texts(), (std::vector<Text>{u"c", u"b"}));
    EXPECT_EQ(FilesInFolder(), 4u);
    Add(TextItem(u"e"));
    EXPECT_TRUE(queue.Undo());
    // The deleted ones on top, oldest first; the protected one only once.
    EXPECT_EQ(Texts(), (std::vector<Text>{u"d", u"a", u"e", u"c", u"b"}));
    EXPECT_EQ(queue.Newest(0)->saved, SavedState::NotOnDisk);

    EXPECT_TRUE(queue.Delete({0}, false));
    EXPECT_EQ(queue.UndoCount(), 0u);
}

TEST_F(HistoryQueueTest, TitlesByTypeFirstLineAndLength) {
    const std::string rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\generator x;}"
        "\\f0 Hello \\b w\\'f6rld\\b0\\par second}\0"s;
    // The item, the length (0: the whole text, not cut to its first line) and the title.
    const std::tuple<std::unique_ptr<CCHItem>, size_t, Text> cases[] = {
        {TextItem(u"\r\n\tword\r\nsecond line"), 50, u"word\u2026"},
        {TextItem(u"\r\n\tword\r\nsecond line"), 0, u"\r\n\tword\r\nsecond line"},
        {TextItem(Text(50, u'x')), 50, Text(50, u'x')},
        {TextItem(u"\r\n"), 50, u""},
        {DataItem(history::CHT_RTF, rtf), 50, u"Hello w\u00F6rld\u2026"},
        {DataItem(history::CHT_QUIRENOTE, "q"), 50, u"Quirenote Document Data"},
        {std::make_unique<CCHItem>(history::CHT_BITMAP), 50, u"Bitmap"},
        {DataItem(history::CHT_HTML, "<b>x</b>"), 50, u"O-o-ops! Naxer!"},
    };
    for (const auto& [item, length, title] : cases)
        EXPECT_EQ(item->Title(length, length > 0), title) << ToUtf8(title);
}

class RecordingMenu : public history::HistoryMenuSink {
public:
    bool LastIsSeparator() override { return !entries.empty() && entries.back() == u"--"; }
    void AppendSeparator() override { entries.push_back(u"--"); }
    void AppendItem(uint32_t id, const Text& text) override {
        entries.push_back(ToText(id) + u":" + text);
    }
    void SetDefaultItem(uint32_t id) override { defaults.push_back(id); }
    std::vector<Text> entries;
    std::vector<uint32_t> defaults;
};

TEST_F(HistoryQueueTest, MenuEntriesNewestFirstWithTheClipboardTextAsDefault) {
    Add(DataItem(history::CHT_TEXT_ANSI, "caf\xE9\0"s));
    Add(TextItem(u" padded"));
    Add(TextItem(Text(55, u'y') + u"\r\nmore"));
    RecordingMenu menu;
    EXPECT_EQ(
        history::AppendHistoryEntries(queue, menu, history::kTrayHistoryFirstId, u"caf\u00E9"), 3u);
    EXPECT_EQ(menu.entries, (std::vector<Text>{u"--", u"34000: " + Text(50, u'y') + u"\u2026",
                                               u"34001: padded", u"34002: caf\u00E9"}));
    EXPECT_EQ(menu.defaults, (std::vector<uint32_t>{34002}));

    // No second separator, and no default for a text that only starts alike.
    menu.AppendSeparator();
    history::AppendHistoryEntries(queue, menu, 100, u" pad");
    EXPECT_EQ(menu.entries.size(), 8u);
    EXPECT_EQ(menu.defaults.size(), 1u);
}

}  // namespace
}  // namespace wlk::test
