// The history files through the real file and profile calls: names, bytes,
// the ".info" text, attributes, times, races for a name, and bitmaps.
#include <thread>

#include "history/ch_item.h"
#include "history/history_folder.h"
#include "history/history_store.h"
#include "history/history_time.h"
#include "history/info_file.h"
#include "history/item_files.h"
#include "platform/text.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;
using history::CCHItem;

std::unique_ptr<CCHItem> Unicode(std::u16string_view text) {
    auto item = std::make_unique<CCHItem>(history::CHT_TEXT_UNICODE);
    item->SetUnicodeText(text);
    item->time = {2025, 11, 0, 30, 23, 59, 58, 7};
    return item;
}

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

TEST_F(HistoryFilesTest, ItemWithFormatsIsWrittenByteForByte) {
    auto item = Unicode(u"Gr\u00FC\u00DFe");
    auto rtf = std::make_shared<CCHItem>(history::CHT_RTF);
    rtf->SetAnsiText("{\\rtf1 Gr\\'fc\\'dfe}");
    auto ansi = std::make_shared<CCHItem>(history::CHT_TEXT_ANSI);
    ansi->SetAnsiText(
        "Gr\xFC\xDF"
        "e");
    auto quire = std::make_shared<CCHItem>(history::CHT_QUIRENOTE);
    quire->SetData("Q\0N", 3);
    item->formats = {rtf, ansi, quire};
    ASSERT_TRUE(history::SaveItem(folder, *item));

    EXPECT_EQ(item->dataPath, folder + u"Unicode_clipboard_history1.txt");
    EXPECT_EQ(item->infoPath, folder + u"wordlark_cb1.info");
    EXPECT_EQ(Read("Unicode_clipboard_history1.txt"), "\xFF\xFEG\0r\0\xFC\0\xDF\0e\0\0\0"s);
    EXPECT_EQ(Read("clipboard_history1.rtf"), "{\\rtf1 Gr\\'fc\\'dfe}\0"s);
    EXPECT_EQ(Read("clipboard_history1.txt"),
              "Gr\xFC\xDF"
              "e\0"s);
    EXPECT_EQ(Read("clipboard_history1.qnd"), "Q\0N"s);
    EXPECT_EQ(Read("wordlark_cb1.info"),
              "[Files]\r\nDataType=1\r\nProtected=0\r\n"
              "File0=Unicode_clipboard_history1.txt\r\nFile1=clipboard_history1.rtf\r\n"
              "File2=clipboard_history1.txt\r\nFile3=clipboard_history1.qnd\r\n");
    EXPECT_FALSE(P().files.IsReadOnly(item->dataPath));
    // Wine keeps files on a Linux file system, which has no settable creation time.
    if (IsSimulated()) {
        const uint64_t time = history::ToFileTime(item->time);
        EXPECT_EQ(P().files.CreationTime(item->dataPath), time);
        EXPECT_EQ(P().files.CreationTime(item->infoPath), time);
        EXPECT_EQ(P().files.CreationTime(rtf->dataPath), time);
    }
}

TEST_F(HistoryFilesTest, NumbersCountFromOnePerPatternAndSkipTakenNames) {
    WriteBytes(folder + u"clipboard_history1.txt", "x\0"s);
    WriteBytes(folder + u"clipboard_history3.txt", "x\0"s);
    WriteBytes(folder + u"wordlark_cb1.info", "");
    auto ansi = std::make_unique<CCHItem>(history::CHT_TEXT_ANSI);
    ansi->SetAnsiText("a");
    ASSERT_TRUE(history::SaveItem(folder, *ansi));
    EXPECT_EQ(history::FileNameOf(ansi->dataPath), u"clipboard_history2.txt");
    EXPECT_EQ(history::FileNameOf(ansi->infoPath), u"wordlark_cb2.info");
    auto rtf = std::make_unique<CCHItem>(history::CHT_RTF);
    rtf->SetAnsiText("{\\rtf1 r}");
    ASSERT_TRUE(history::SaveItem(folder, *rtf));
    EXPECT_EQ(history::FileNameOf(rtf->dataPath), u"clipboard_history1.rtf");
    auto again = std::make_unique<CCHItem>(history::CHT_TEXT_ANSI);
    again->SetAnsiText("b");
    ASSERT_TRUE(history::SaveItem(folder, *again));
    EXPECT_EQ(history::FileNameOf(again->dataPath), u"clipboard_history4.txt");
    EXPECT_EQ(Read("clipboard_history3.txt"), "x\0"s) << "never overwritten";

    // Nothing to write, nothing written.
    CCHItem empty(history::CHT_HTML);
    EXPECT_FALSE(history::SaveItem(folder, empty));
}

TEST_F(HistoryFilesTest, WritersRacingForNamesNeverShareAFile) {
    constexpr int kThreads = 4, kEach = 15;
    std::vector<std::vector<std::unique_ptr<CCHItem>>> items(kThreads);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kEach; ++i) items[t].push_back(Unicode(ToText(t * 100 + i)));
    std::vector<std::thread> threads;
    for (auto& list : items) {
        threads.emplace_back([&] {
            for (auto& item : list) EXPECT_TRUE(history::SaveItem(folder, *item));
        });
    }
    for (auto& thread : threads) thread.join();
    auto loaded = history::LoadFolder(folder);
    EXPECT_EQ(loaded->Count(), size_t(kThreads * kEach)) << "every text in a file of its own";
    for (const auto& list : items)
        for (const auto& item : list)
            EXPECT_EQ(Bytes(item->dataPath).substr(2, 2 * item->PlainText().size()),
                      std::string(reinterpret_cast<const char*>(item->Data()),
                                  2 * item->PlainText().size()));
}

TEST_F(HistoryFilesTest, ProtectedItemsAreReadOnlyAndComeBackProtected) {
    auto item = Unicode(u"secret");
    item->isProtected = true;
    ASSERT_TRUE(history::SaveItem(folder, *item));
    EXPECT_TRUE(P().files.IsReadOnly(item->dataPath));
    EXPECT_TRUE(P().files.IsReadOnly(item->infoPath));
    EXPECT_EQ(Bytes(item->infoPath),
              "[Files]\r\nDataType=1\r\nProtected=1\r\nFile0=Unicode_clipboard_history1.txt\r\n");

    // The read-only data file alone makes it protected, whatever the info says.
    ASSERT_TRUE(P().files.SetReadOnly(item->infoPath, false));
    ASSERT_TRUE(P().profile.WriteString(item->infoPath, u"Files", u"Protected", u"0"));
    auto loaded = history::LoadFolder(folder);
    ASSERT_EQ(loaded->Count(), 1u);
    EXPECT_TRUE(loaded->At(0)->isProtected);
    EXPECT_EQ(loaded->At(0)->PlainText(), u"\uFEFFsecret");
    EXPECT_EQ(loaded->At(0)->infoPath, item->infoPath);
    // Wine keeps no creation time, so the loaded time is not the item's there.
    if (IsSimulated()) {
        EXPECT_EQ(loaded->At(0)->time.second, 58);
    }

    // Unprotecting a loaded item clears the marks and rewrites the key.
    loaded->At(0)->SetProtected(false);
    EXPECT_FALSE(P().files.IsReadOnly(item->dataPath));
    EXPECT_EQ(P().profile.GetInt(item->infoPath, u"Files", u"Protected", 9), 0);
}

TEST_F(HistoryFilesTest, ChangedItemIsWrittenToANewFileUnderItsOldInfoFile) {
    auto item = Unicode(u"before");
    auto html = std::make_shared<CCHItem>(history::CHT_HTML);
    html->SetAnsiText("<p>before</p>");
    item->formats = {html};
    ASSERT_TRUE(history::SaveItem(folder, *item));
    const Text info = item->infoPath;
    item->SetUnicodeText(u"after");
    item->formats.clear();
    item->dataPath.clear();
    ASSERT_TRUE(history::SaveItem(folder, *item));
    EXPECT_EQ(item->infoPath, info);
    EXPECT_EQ(history::FileNameOf(item->dataPath), u"Unicode_clipboard_history2.txt");
    EXPECT_EQ(Bytes(info),
              "[Files]\r\nDataType=1\r\nProtected=0\r\nFile0=Unicode_clipboard_history2.txt\r\n");
    EXPECT_EQ(Read("Unicode_clipboard_history1.txt").size(), 16u) << "the old file stays";
}

TEST_F(HistoryFilesTest, InfoFilesReadAlikeWhateverTheirLayout) {
    struct Case {
        std::string text;
        bool isProtected;
        std::vector<Text> files;
    };
    const Case cases[] = {
        {"[Files]\r\nDataType=1\r\nProtected=1\r\nFile0=a.txt\r\nFile1=b.rtf\r\n",
         true,
         {u"a.txt", u"b.rtf"}},
        {"[files]\r\n  file0 = a.txt \r\nPROTECTED=0\r\n", false, {u"a.txt"}},
        {"[Files]\r\nProtected=\"1\"\r\nFile0=\"a.txt\"\r\nFile1='b.rtf'\r\n",
         true,
         {u"a.txt", u"b.rtf"}},
        {"[Files]\r\nProtected=7x\r\nFile0=a.txt\r\nfile0=b.txt\r\n", true, {u"a.txt"}},
        {"[Files]\r\nnoequals\r\nFile0=a.txt\r\nFile1=\r\nFile2=c.txt\r\n", false, {u"a.txt"}},
        {"[Other]\r\nFile0=x.txt\r\n[Files]\r\nFile1=a.txt\r\n", false, {}},
        {"[Files]\r\nJunk=" + std::string(5000, 'j') + "\r\nFile0=a.txt\r\nProtected=1\r\n",
         true,
         {u"a.txt"}},
        {"[Files]\r\nFile0=" + std::string(261, 'n') + "\r\n", false, {}},
    };
    for (const Case& c : cases) {
        const Text path = folder + u"case.info";
        WriteBytes(path, c.text);
        const history::InfoContent info = history::ReadInfo(path);
        EXPECT_EQ(info.isProtected, c.isProtected) << c.text;
        EXPECT_EQ(info.files, c.files) << c.text;
    }
}

TEST_F(HistoryFilesTest, DataFilesMissingEmptyOrCutShortGiveNoItem) {
    WriteBytes(folder + u"clipboard_history1.txt", "");
    WriteBytes(folder + u"Unicode_clipboard_history1.txt", "\xFF\xFEh\0i"s);
    WriteBytes(folder + u"Unicode_clipboard_history2.txt", "\xFF\xFEh\0i\0"s);
    WriteBytes(folder + u"clipboard_history1.html", "<p>");
    WriteBytes(folder + u"clipboard_history1.qnd", "any bytes");
    EXPECT_FALSE(history::LoadItemFile(folder + u"clipboard_history9.txt"));
    EXPECT_FALSE(history::LoadItemFile(folder + u"clipboard_history1.txt"));
    EXPECT_FALSE(history::LoadItemFile(folder + u"Unicode_clipboard_history1.txt"));
    EXPECT_FALSE(history::LoadItemFile(folder + u"Unicode_clipboard_history2.txt"));
    EXPECT_FALSE(history::LoadItemFile(folder + u"clipboard_history1.html"));
    auto quire = history::LoadItemFile(folder + u"clipboard_history1.qnd");
    ASSERT_TRUE(quire);
    EXPECT_EQ(quire->Type(), history::CHT_QUIRENOTE);
    EXPECT_EQ(quire->Size(), 9u);
    EXPECT_EQ(quire->saved, history::SavedState::Loaded);
}

TEST_F(HistoryFilesTest, BitmapsSurviveTheRoundTripAtTheirOwnDepth) {
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 5 * 3; ++i) pixels.push_back(i * 0x0F0D0B);
    auto item = std::make_unique<CCHItem>(history::CHT_BITMAP);
    item->SetBitmap(P().bitmaps.FromPixels(5, 3, pixels));
    ASSERT_TRUE(item->Bitmap());
    ASSERT_TRUE(history::SaveItem(folder, *item));
    const std::string file = Bytes(item->dataPath);
    ASSERT_EQ(file.size(), 14u + 40 + 12 + 5 * 3 * 4);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(file[28], 32) << "biBitCount";
    EXPECT_EQ(file[30], 3) << "BI_BITFIELDS";

    auto loaded = history::LoadItemFile(item->dataPath);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Bitmap()->Width(), 5);
    EXPECT_EQ(loaded->Bitmap()->Height(), 3);
    EXPECT_EQ(loaded->Bitmap()->BitsPerPixel(), 32);
    EXPECT_EQ(loaded->Bitmap()->Pixels(), pixels);
    EXPECT_EQ(loaded->Bitmap()->GetDib(), item->Bitmap()->GetDib());
    auto copy = loaded->Copy();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Bitmap()->Pixels(), pixels);

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
