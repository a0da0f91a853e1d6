// The history files through the real file and profile calls: names, bytes,
// the ".info" text, protection, races for a name, and bitmaps.
#include <thread>

#include "history/ch_item.h"
#include "history/history_folder.h"
#include "history/history_store.h"
#include "history/history_time.h"
#include "history/item_compare.h"
#include "history/item_files.h"
#include "platform/text.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;
using history::CCHItem;

constexpr platform::LocalTime kTime = {2025, 11, 0, 30, 23, 59, 58, 7};

class HistoryFilesTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        folder = Dir() + u"ClipboardHistory\\";
        ASSERT_TRUE(history::EnsureFolder(folder));
    }
    std::string Read(const char* name) { return Bytes(folder + T(name)); }

    Text folder;
};

struct WrittenCase {
    const char* name;
    std::unique_ptr<CCHItem> item;
    std::vector<std::pair<const char*, std::string>> files;  // in the info file's order
    std::string info;
};

TEST_F(HistoryFilesTest, ItemsAreWrittenByteForByteAndComeBackAsTheyWere) {
    auto text = TextItem(u"Gr\u00FC\u00DFe");
    auto ansi = std::make_shared<CCHItem>(history::CHT_TEXT_ANSI);
    ansi->SetAnsiText(
        "Gr\xFC\xDF"
        "e");
    text->formats = {DataItem(history::CHT_RTF, "{\\rtf1 Gr\\'fc\\'dfe}\0"s),
                     std::make_shared<CCHItem>(history::CHT_HTML),  // nothing to write
                     ansi, DataItem(history::CHT_QUIRENOTE, "Q\0N"s)};
    WrittenCase cases[] = {
        {"text with its further formats",
         std::move(text),
         {{"Unicode_clipboard_history1.txt", "\xFF\xFEG\0r\0\xFC\0\xDF\0e\0\0\0"s},
          {"clipboard_history1.rtf", "{\\rtf1 Gr\\'fc\\'dfe}\0"s},
          {"clipboard_history1.txt",
           "Gr\xFC\xDF"
           "e\0"s},
          {"clipboard_history1.qnd", "Q\0N"s}},
         "[Files]\r\nDataType=1\r\nProtected=0\r\nFile0=Unicode_clipboard_history1.txt\r\n"
         "File1=clipboard_history1.rtf\r\nFile2=clipboard_history1.txt\r\n"
         "File3=clipboard_history1.qnd\r\n"},
        {"html",
         DataItem(history::CHT_HTML, "<p>x</p>\0"s),
         {{"clipboard_history1.html", "<p>x</p>\0"s}},
         "[Files]\r\nDataType=5\r\nProtected=0\r\nFile0=clipboard_history1.html\r\n"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder = Dir() + T(c.name) + u"\\";
        ASSERT_TRUE(history::EnsureFolder(folder));
        auto& item = c.item;
        item->time = kTime;
        ASSERT_TRUE(history::SaveItem(folder, *item));
        EXPECT_EQ(item->dataPath, folder + T(c.files[0].first));
        EXPECT_EQ(item->infoPath, folder + u"wordlark_cb1.info");
        for (const auto& [name, bytes] : c.files) EXPECT_EQ(Read(name), bytes) << name;
        EXPECT_EQ(Bytes(item->infoPath), c.info);
        EXPECT_FALSE(P().files.IsReadOnly(item->dataPath));

        auto loaded = history::LoadFolder(folder);
        ASSERT_EQ(loaded->Count(), 1u);
        const CCHItem& back = *loaded->At(0);
        EXPECT_TRUE(history::SameContent(back, *item)) << "a new copy of it is a duplicate";
        // The size has no byte order mark in it.
        EXPECT_EQ(std::tuple(back.Size(), back.formats.size(), back.infoPath, back.saved),
                  std::tuple(item->Size(), c.files.size() - 1, item->infoPath,
                             history::SavedState::Loaded));
        // The files carry the item's time; Wine keeps no creation times (see
        // the file system test).
        if (!RunsUnderWine()) {
            const uint64_t time = history::ToFileTime(kTime);
            for (const auto& file : c.files)
                EXPECT_EQ(P().files.CreationTime(folder + T(file.first)), time);
            EXPECT_EQ(P().files.CreationTime(item->infoPath), time);
            EXPECT_EQ(back.time.second, 58);
        }
    }
}

TEST_F(HistoryFilesTest, ProtectionFollowsTheReadOnlyDataFile) {
    auto item = TextItem(u"secret", true);
    ASSERT_TRUE(history::SaveItem(folder, *item));
    EXPECT_EQ(Read("wordlark_cb1.info"),
              "[Files]\r\nDataType=1\r\nProtected=1\r\nFile0=Unicode_clipboard_history1.txt\r\n");
    EXPECT_TRUE(P().files.IsReadOnly(item->dataPath) && P().files.IsReadOnly(item->infoPath));
    // The read-only data file alone makes it protected, whatever the info says.
    ASSERT_TRUE(P().files.SetReadOnly(item->infoPath, false));
    ASSERT_TRUE(P().profile.WriteString(item->infoPath, u"Files", u"Protected", u"0"));
    auto loaded = history::LoadFolder(folder);
    ASSERT_EQ(loaded->Count(), 1u);
    EXPECT_TRUE(loaded->At(0)->isProtected);

    // Unprotecting clears the mark and rewrites the key; protecting marks
    // the data file only.
    loaded->At(0)->SetProtected(false);
    EXPECT_FALSE(P().files.IsReadOnly(item->dataPath));
    EXPECT_EQ(P().profile.GetInt(item->infoPath, u"Files", u"Protected", 9), 0);
    loaded->At(0)->SetProtected(true);
    EXPECT_TRUE(P().files.IsReadOnly(item->dataPath));
    EXPECT_FALSE(P().files.IsReadOnly(item->infoPath));
    EXPECT_EQ(P().profile.GetInt(item->infoPath, u"Files", u"Protected", 9), 1);
}

TEST_F(HistoryFilesTest, NumbersCountFromOnePerPatternSkipTakenNamesAndChangesTakeNewOnes) {
    WriteBytes(folder + u"clipboard_history1.txt", "x\0"s);
    WriteBytes(folder + u"clipboard_history3.txt", "x\0"s);
    WriteBytes(folder + u"wordlark_cb1.info", "");
    auto ansi = DataItem(history::CHT_TEXT_ANSI, "a\0"s);
    ASSERT_TRUE(history::SaveItem(folder, *ansi));
    EXPECT_EQ(history::FileNameOf(ansi->dataPath), u"clipboard_history2.txt");
    EXPECT_EQ(history::FileNameOf(ansi->infoPath), u"wordlark_cb2.info");
    auto rtf = DataItem(history::CHT_RTF, "{\\rtf1 r}\0"s);
    ASSERT_TRUE(history::SaveItem(folder, *rtf));
    EXPECT_EQ(history::FileNameOf(rtf->dataPath), u"clipboard_history1.rtf");
    auto again = DataItem(history::CHT_TEXT_ANSI, "b\0"s);
    ASSERT_TRUE(history::SaveItem(folder, *again));
    EXPECT_EQ(history::FileNameOf(again->dataPath), u"clipboard_history4.txt");
    EXPECT_EQ(Read("clipboard_history3.txt"), "x\0"s) << "never overwritten";

    // A changed item goes to a new file under its old info file.
    auto item = TextItem(u"before");
    item->formats = {DataItem(history::CHT_HTML, "<p>before</p>\0"s)};
    ASSERT_TRUE(history::SaveItem(folder, *item));
    const Text info = item->infoPath;
    item->SetUnicodeText(u"after");
    item->formats.clear();
    item->dataPath.clear();
    ASSERT_TRUE(history::SaveItem(folder, *item));
    EXPECT_EQ(item->infoPath, info);
    EXPECT_EQ(Bytes(info),
              "[Files]\r\nDataType=1\r\nProtected=0\r\nFile0=Unicode_clipboard_history2.txt\r\n");
    EXPECT_EQ(Read("Unicode_clipboard_history1.txt").size(), 16u) << "the old file stays";
}

TEST_F(HistoryFilesTest, WritersRacingForNamesNeverShareAFile) {
    constexpr int kThreads = 4, kEach = 15;
    std::vector<std::vector<std::unique_ptr<CCHItem>>> items(kThreads);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kEach; ++i) items[t].push_back(TextItem(ToText(t * 100 + i)));
    std::vector<std::thread> threads;
    for (auto& list : items) {
        threads.emplace_back([&] {
            for (auto& item : list) EXPECT_TRUE(history::SaveItem(folder, *item));
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(history::LoadFolder(folder)->Count(), size_t(kThreads * kEach))
        << "every text in a file of its own";
    for (const auto& list : items)
        for (const auto& item : list)
            EXPECT_EQ(Bytes(item->dataPath), kBom16 + Utf16Bytes(item->PlainText()) + "\0\0"s);
}

TEST_F(HistoryFilesTest, BitmapsTravelAsBmpFilesAtTheirOwnDepth) {
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 5 * 3; ++i) pixels.push_back(i * 0x0F0D0B);
    auto item = std::make_unique<CCHItem>(history::CHT_BITMAP);
    item->SetBitmap(P().bitmaps.FromPixels(5, 3, pixels));
    ASSERT_TRUE(history::SaveItem(folder, *item));
    EXPECT_EQ(history::FileNameOf(item->dataPath), u"clipboard_history1.bmp");
    const std::string file = Bytes(item->dataPath);
    ASSERT_EQ(file.size(), 14u + 40 + 12 + 5 * 3 * 4);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(uint8_t(file[2]), file.size());
    EXPECT_EQ(file[10], 14 + 52) << "bits after the header and three masks";
    EXPECT_EQ(file[28], 32) << "biBitCount";
    EXPECT_EQ(file[30], 3) << "BI_BITFIELDS";

    auto loaded = history::LoadItemFile(item->dataPath);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->Type(), history::CHT_BITMAP);
    EXPECT_EQ(loaded->Size(), 4u);
    EXPECT_EQ(loaded->Bitmap()->GetDib(), item->Bitmap()->GetDib()) << "size, depth and bits";
    EXPECT_EQ(loaded->Copy()->Bitmap()->Pixels(), pixels);

    // An 8-bit picture with a palette, as an older program may have saved.
    std::string bmp = "BM"s + std::string(12, '\0');
    std::string info(40, '\0');
    info[0] = 40, info[4] = 2, info[8] = 1, info[12] = 1, info[14] = 8;
    std::string palette(256 * 4, '\0');
    palette[4] = '\x30', palette[5] = '\x20', palette[6] = '\x10';  // entry 1: 0x102030
    bmp += info + palette + "\x01\x00\x00\x00"s;
    bmp[10] = char((14 + 40 + 1024) & 0xFF), bmp[11] = char((14 + 40 + 1024) >> 8);
    WriteBytes(folder + u"clipboard_history7.bmp", bmp);
    auto paletted = history::LoadItemFile(folder + u"clipboard_history7.bmp");
    ASSERT_TRUE(paletted);
    EXPECT_EQ(paletted->Bitmap()->BitsPerPixel(), 8);
    EXPECT_EQ(paletted->Bitmap()->Pixels(), (std::vector<uint32_t>{0x102030, 0}));
}

}  // namespace
}  // namespace wlk::test
