// Saving and loading the history on worker threads, the hand-over by message,
// the merge, and folders and files that are not as they should be.
#include "history/history_store.h"

#include <atomic>
#include <functional>
#include <map>

#include "history/bmp_file.h"
#include "history/clipboard_capture.h"
#include "history/item_files.h"
#include "log/event_log.h"
#include "platform/text.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;

using history::CCHItem;
using history::CCHQueue;
using history::HistoryStore;
using history::SavedState;

const Text kFolder = u"C:\\Program Files\\Wordlark\\ClipboardHistory\\";
constexpr platform::WindowId kHandler = 0x1333;

std::unique_ptr<CCHItem> Unicode(std::u16string_view text, uint16_t minute = 0) {
    auto item = TextItem(text);
    item->time = {2026, 3, 2, 9, 8, minute, 30, 125};
    return item;
}

class HistoryStoreTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        store = std::make_unique<HistoryStore>();
        // The handler window: takes the results on the "main thread" as they come.
        Sim().ui.onMessage = [this](const platform::sim::SimMessage& m) -> intptr_t {
            std::lock_guard lock(handlerMutex);
            if (m.window != kHandler) return 0;
            if (m.message == store->ItemSavedMessage()) {
                ++savedMessages;
                return HistoryStore::OnItemSaved(live, m.lParam);
            }
            if (m.message == store->HistoryLoadedMessage())
                return HistoryStore::OnHistoryLoaded(live, m.lParam, maximum);
            return 0;
        };
    }
    void TearDown() override {
        Sim().threads.WaitIdle();
        Sim().ui.onMessage = nullptr;
        log::EventLog::Instance().Close();
        PlatformTest::TearDown();
    }
    void Add(CCHQueue& queue, std::unique_ptr<CCHItem> item) { ASSERT_TRUE(queue.Add(item, 1000)); }
    std::vector<Text> Texts(const CCHQueue& queue) {
        std::vector<Text> texts;
        for (const auto& item : queue.Items()) texts.push_back(item->PlainText());
        return texts;
    }
    // Saves `queue` on a thread and waits for it.
    bool Save(CCHQueue& queue, bool enabled = true) {
        const bool started = store->SaveHistory(queue, kHandler, enabled);
        Sim().threads.WaitIdle();
        return started;
    }

    std::unique_ptr<HistoryStore> store;
    std::mutex handlerMutex;
    CCHQueue live{kFolder};
    size_t maximum = 30;
    int savedMessages = 0;
};

TEST_F(HistoryStoreTest, SaveThreadWritesCopiesTheHandlerAdoptsThemAndSaveNowWritesAtOnce) {
    auto styled = Unicode(u"styled", 1);
    auto rtf = std::make_shared<CCHItem>(history::CHT_RTF);
    rtf->SetAnsiText("{\\rtf1 styled}");
    styled->formats = {rtf};
    Add(live, std::move(styled));
    Add(live, Unicode(u"two", 2));
    EXPECT_FALSE(Save(live, false)) << "the setting is off";
    EXPECT_EQ(store->SaveNow(live, false), 0);
    EXPECT_EQ(P().files.Kind(kFolder), platform::PathKind::Missing);

    ASSERT_TRUE(Save(live));
    EXPECT_EQ(savedMessages, 2);
    for (const auto& item : live.Items()) EXPECT_EQ(item->saved, SavedState::Written);
    EXPECT_EQ(P().files.Kind(rtf->dataPath), platform::PathKind::File)
        << "the live formats learn their files";
    EXPECT_TRUE(Sim().sync.IsSet(history::kSaveLoadEventName)) << "the folder is free again";
    EXPECT_FALSE(Save(live)) << "nothing unsaved";
    EXPECT_EQ(P().files.List(kFolder, u"*").size(), 5u) << "two info and three data files";

    // At exit the history is written on the calling thread.
    Add(live, Unicode(u"next"));
    const int threads = Sim().threads.started;
    EXPECT_EQ(store->SaveNow(live, true), 1);
    EXPECT_EQ(live.Newest(0)->saved, SavedState::Written);
    EXPECT_EQ(Sim().threads.started, threads);

    // The next start reads them back in the order of their times.
    live.TakeAll();
    ASSERT_TRUE(store->LoadHistory(kFolder, kHandler));
    Sim().threads.WaitIdle();
    EXPECT_EQ(Texts(live), (std::vector<Text>{u"next", u"styled", u"two"}));
    const CCHItem& loaded = *live.At(1);
    // 9 March 2026 is a Monday.
    EXPECT_EQ(std::tuple(loaded.time.minute, loaded.time.milliseconds, loaded.time.dayOfWeek,
                         loaded.formats.size()),
              std::tuple(1, 125, 1, 1u));
    EXPECT_FALSE(Save(live)) << "loaded items are not written again";
}

TEST_F(HistoryStoreTest, SaveWaitsWhileAnotherWriterHoldsTheFolder) {
    auto other =
        P().sync.OpenEvent(history::kSaveLoadEventName, platform::EventAccess::ModifyState);
    ASSERT_TRUE(other);
    other->Reset();
    std::atomic<bool> released = false;
    auto handler = Sim().ui.onMessage;
    Sim().ui.onMessage = [&](const platform::sim::SimMessage& m) {
        EXPECT_TRUE(released) << "written while the folder was held";
        return handler(m);
    };
    Add(live, Unicode(u"held"));
    ASSERT_TRUE(store->SaveHistory(live, kHandler, true));
    EXPECT_FALSE(store->SaveHistory(live, kHandler, true)) << "already on its way";
    released = true;
    other->Set();
    Sim().threads.WaitIdle();
    EXPECT_EQ(live.Newest(0)->saved, SavedState::Written);
    EXPECT_EQ(P().files.List(kFolder, u"*").size(), 2u) << "written once";
}

// What the handler does to the history while a save is written, or after one.
struct EditCase {
    const char* name;
    std::function<void(CCHQueue&)> edit;
    std::vector<Text> onDisk;  // what the next start loads, oldest first
};

TEST_F(HistoryStoreTest, EditsDuringOrAfterASaveLeaveExactlyTheHistoryOnDisk) {
    auto copyAgain = [](CCHQueue& q) {
        auto again = Unicode(u"draft", 3);
        q.Add(again, 30);
    };
    auto clearAndUndo = [](CCHQueue& q) {
        q.Clear();
        q.Undo();
    };
    const EditCase cases[] = {
        {"deleted", [](CCHQueue& q) { q.Delete({0}, true); }, {u"kept"}},
        {"changed",
         [](CCHQueue& q) { q.Newest(0)->SetUnicodeText(u"final"); },
         {u"kept", u"final"}},
        {"copied again", copyAgain, {u"kept", u"draft"}},
        {"cleared", [](CCHQueue& q) { q.Clear(); }, {u"kept"}},
        {"cleared and undone", clearAndUndo, {u"kept", u"draft"}},
    };
    for (const auto& c : cases) {
        for (const bool whileWriting : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (whileWriting ? " while written" : " after"));
            Sim().files.Put(kFolder + u"placeholder", "");
            live.Clear();
            live.ClearUndoPool();
            Add(live, Unicode(u"kept", 1));
            live.Newest(0)->isProtected = true;
            Add(live, Unicode(u"draft", 2));
            if (whileWriting) {
                // The handler is busy: the first result waits until the edit is done.
                std::unique_lock busy(handlerMutex);
                const size_t before = Sim().ui.Messages().size();
                ASSERT_TRUE(store->SaveHistory(live, kHandler, true));
                ASSERT_TRUE(WaitUntil([&] { return Sim().ui.Messages().size() > before; }));
                c.edit(live);
                store->SaveHistory(live, kHandler, true);  // as the handler asks after an edit
            } else {
                ASSERT_TRUE(Save(live));
                c.edit(live);
                store->SaveHistory(live, kHandler, true);
            }
            Sim().threads.WaitIdle();
            for (const auto& item : live.Items()) EXPECT_EQ(item->saved, SavedState::Written);
            auto loaded = history::LoadFolder(kFolder);
            EXPECT_EQ(Texts(*loaded), c.onDisk);
            EXPECT_EQ(P().files.List(kFolder, u"*").size(), 2 * c.onDisk.size())
                << "no file of an item that is gone or of an older state";
            EXPECT_TRUE(loaded->Count() && loaded->At(0)->isProtected);
        }
    }
}

TEST_F(HistoryStoreTest, AFullDiskWritesNoHalfItemAndKeepsTheEarlierState) {
    Add(live, Unicode(u"x", 1));
    // Room for the data file (6 bytes), not for the info file after it.
    Sim().files.SetFreeSpace(6 + 20);
    EXPECT_TRUE(Save(live));
    EXPECT_EQ(savedMessages, 0);
    EXPECT_EQ(live.Newest(0)->saved, SavedState::NotOnDisk);
    EXPECT_EQ(P().files.List(kFolder, u"*").size(), 0u) << "nothing that would load as garbage";

    Sim().files.SetFreeSpace(std::nullopt);
    ASSERT_TRUE(Save(live));
    EXPECT_EQ(live.Newest(0)->saved, SavedState::Written);

    // A changed item whose info file cannot be rewritten keeps the old one.
    live.Newest(0)->SetUnicodeText(u"after");
    Sim().files.SetFreeSpace(14 + 30);
    EXPECT_TRUE(Save(live));
    EXPECT_EQ(live.Newest(0)->saved, SavedState::NotOnDisk);
    EXPECT_EQ(Texts(*history::LoadFolder(kFolder)), (std::vector<Text>{u"x"}));
    EXPECT_EQ(P().files.List(kFolder, u"*").size(), 2u);

    Sim().files.SetFreeSpace(std::nullopt);
    ASSERT_TRUE(Save(live));
    EXPECT_EQ(Texts(*history::LoadFolder(kFolder)), (std::vector<Text>{u"after"}));
    EXPECT_EQ(P().files.List(kFolder, u"*").size(), 2u);
}

TEST_F(HistoryStoreTest, MergeKeepsTheNewestAndEveryProtectedItem) {
    for (uint16_t minute = 1; minute <= 4; ++minute) {
        Add(live, Unicode(u"saved " + ToText(minute), minute));
        live.Newest(0)->isProtected = minute == 1;
    }
    ASSERT_TRUE(Save(live));
    const Text dropped = live.At(1)->dataPath;
    live.TakeAll();
    Add(live, Unicode(u"captured meanwhile", 5));
    maximum = 3;
    ASSERT_TRUE(store->LoadHistory(kFolder, kHandler));
    Sim().threads.WaitIdle();
    EXPECT_EQ(Texts(live),
              (std::vector<Text>{u"saved 1", u"saved 3", u"saved 4", u"captured meanwhile"}));
    EXPECT_TRUE(live.At(0)->isProtected);
    EXPECT_EQ(P().files.Kind(live.At(0)->dataPath), platform::PathKind::File);
    EXPECT_EQ(P().files.Kind(dropped), platform::PathKind::File) << "files stay on disk";

    // Of two files with the same text the later one's item is kept, protected
    // when the earlier one was, and the earlier one's files go.
    const Text folder = kFolder + u"twice\\";
    ASSERT_TRUE(history::EnsureFolder(folder));
    auto earlier = Unicode(u"twice", 1), later = Unicode(u"twice", 2);
    earlier->isProtected = true;
    ASSERT_TRUE(history::SaveItem(folder, *earlier));  // wordlark_cb1.info
    ASSERT_TRUE(history::SaveItem(folder, *later));    // wordlark_cb2.info
    auto loaded = history::LoadFolder(folder);
    ASSERT_EQ(loaded->Count(), 1u);
    EXPECT_TRUE(loaded->At(0)->isProtected);
    EXPECT_EQ(loaded->At(0)->infoPath, later->infoPath);
    EXPECT_TRUE(P().files.IsReadOnly(later->dataPath));
    EXPECT_EQ(P().files.List(folder, u"*").size(), 2u);
}

TEST_F(HistoryStoreTest, MissingOrReadOnlyFolderSavesNothingAndLosesNothing) {
    Add(live, Unicode(u"kept in memory"));
    Sim().files.DenyWrites(u"C:\\Program Files\\Wordlark");
    EXPECT_FALSE(Save(live)) << "the folder cannot be made";
    EXPECT_EQ(live.Count(), 1u);
    EXPECT_EQ(live.Newest(0)->saved, SavedState::NotOnDisk);

    // A folder that exists but refuses writes.
    Sim().files.Put(u"C:\\ro\\ClipboardHistory\\placeholder", "");
    Sim().files.DenyWrites(u"C:\\ro\\ClipboardHistory");
    CCHQueue readOnly(u"C:\\ro\\ClipboardHistory\\");
    Add(readOnly, Unicode(u"x"));
    ASSERT_TRUE(store->SaveHistory(readOnly, kHandler, true));
    Sim().threads.WaitIdle();
    EXPECT_EQ(readOnly.Newest(0)->saved, SavedState::NotOnDisk);
    EXPECT_EQ(savedMessages, 0);
    EXPECT_EQ(store->SaveNow(readOnly, true), 0);
    EXPECT_EQ(readOnly.Count(), 1u);
}

TEST_F(HistoryStoreTest, BrokenAndHostileFilesAreSkippedUnreadAndTheSoundOnesLoadWhole) {
    const Text logPath = Path("log.txt");
    ASSERT_TRUE(log::EventLog::Instance().Open(logPath));
    auto put = [&](const std::string& name, const std::string& bytes) {
        Sim().files.Put(kFolder + FromUtf8(name), bytes);
    };
    auto info = [&](const std::string& name, const std::vector<std::string>& files) {
        std::string text = "[Files]\r\n";
        for (size_t i = 0; i < files.size(); ++i)
            text += "File" + std::to_string(i) + "=" + files[i] + "\r\n";
        put(name, text);
    };
    // Broken: no first file, no info at all, a file missing or cut short (half
    // a UTF-16 character), and a name that leaves the folder. Two info files
    // naming the same file give one item.
    put("Unicode_clipboard_history8.txt", "\xFF\xFEo\0k\0\0\0"s);
    info("good.info", {"Unicode_clipboard_history8.txt"});
    put("gap.info", "[Files]\r\nFile0=Unicode_clipboard_history8.txt\r\nFile2=x.rtf\r\n");
    put("x.rtf", "{\\rtf1 x}\0"s);
    put("nofile0.info", "[Files]\r\nFile1=Unicode_clipboard_history8.txt\r\n");
    put("garbage.info", "\x00\x01\xFF binary junk"s);
    info("missing.info", {"clipboard_history9.txt"});
    put("Unicode_clipboard_history20.txt", "\xFF\xFEh\0i\0\0"s);
    info("odd.info", {"Unicode_clipboard_history20.txt"});
    info("escape.info", {"..\\..\\Wordlark.exe"});
    put("folder.info\\inside", "");
    constexpr uint64_t kGiB = 1ull << 30;
    const std::vector<uint32_t> pixels{0x102030, 0x405060};
    const std::string picture = history::EncodeBmp(*P().bitmaps.FromPixels(2, 1, pixels)->GetDib());
    // Sound: a text with an RTF and a picture beside it, and a text of
    // exactly the limit. Their other formats are damaged or too large.
    put("Unicode_clipboard_history1.txt", kBom16 + Utf16Bytes(u"sound") + "\0\0"s);
    put("clipboard_history1.rtf", "{\\rtf1 sound}\0"s);
    put("clipboard_history1.bmp", picture);
    Sim().files.PutLarge(kFolder + u"clipboard_history2.rtf", kGiB);
    put("Unicode_clipboard_history2.txt", kBom16 + "a\0b"s);
    info("sound.info",
         {"Unicode_clipboard_history1.txt", "clipboard_history1.rtf", "clipboard_history1.bmp",
          "clipboard_history2.rtf", "Unicode_clipboard_history2.txt"});
    put("clipboard_history3.txt", std::string(history::kMaxItemFileBytes - 1, 'f') + '\0');
    put("clipboard_history3.rtf", "{\\rtf1 x}\0"s);
    info("full.info", {"clipboard_history3.txt", "clipboard_history3.rtf"});
    // Hostile: an info file far above the limit, a data file just above it,
    // text named as a bitmap, and bitmaps whose headers lie.
    Sim().files.PutLarge(kFolder + u"huge.info", kGiB);
    Sim().files.PutLarge(kFolder + u"clipboard_history6.txt", history::kMaxItemFileBytes + 1);
    info("over.info", {"clipboard_history6.txt"});
    put("clipboard_history7.bmp", "not a picture\0"s);
    info("text.info", {"clipboard_history7.bmp"});
    const std::pair<size_t, uint32_t> lies[] = {
        {2, uint32_t(picture.size() + 1)},   // bfSize: a byte more than the file
        {18, 0x10000},                       // biWidth: rows far longer than the file
        {18, uint32_t(-2)},                  // a negative width
        {10, uint32_t(picture.size() + 1)},  // bfOffBits: past the end
    };
    std::vector<std::string> expected{
        "skipped nofile0.info: no data file named",
        "skipped garbage.info: no data file named",
        "skipped missing.info: data file missing or unreadable: clipboard_history9.txt",
        "skipped odd.info: data file empty or cut short: Unicode_clipboard_history20.txt",
        "skipped escape.info: data file outside the folder: ..\\..\\Wordlark.exe",
        "skipped huge.info: info file too large (1073741824 bytes)",
        "skipped over.info: data file too large (16779265 bytes): clipboard_history6.txt",
        "skipped text.info: data file not a whole bitmap: clipboard_history7.bmp",
        "skipped a format of sound.info: data file too large (1073741824 bytes): "
        "clipboard_history2.rtf",
        "skipped a format of sound.info: data file empty or cut short: "
        "Unicode_clipboard_history2.txt",
        "skipped a format of full.info: formats too large together (16779274 bytes): "
        "clipboard_history3.rtf"};
    for (size_t i = 0; i < std::size(lies); ++i) {
        std::string bmp = picture;
        for (int b = 0; b < 4; ++b) bmp[lies[i].first + b] = char(lies[i].second >> (8 * b));
        const std::string name = "clipboard_history1" + std::to_string(i) + ".bmp";
        put(name, bmp);
        info("lie" + std::to_string(i) + ".info", {name});
        expected.push_back("skipped lie" + std::to_string(i) +
                           ".info: data file not a whole bitmap: " + name);
    }
    const size_t files = P().files.List(kFolder, u"*").size();

    auto loaded = history::LoadFolder(kFolder);
    EXPECT_EQ(Sim().files.largestRead, history::kMaxItemFileBytes) << "full.info's text";
    std::map<Text, const CCHItem*> byInfo;
    for (const auto& item : loaded->Items())
        byInfo[history::FileNameOf(item->infoPath)] = item.get();
    ASSERT_EQ(byInfo.size(), 3u) << "good and gap read the same file: one item";
    const CCHItem& ok =
        *(byInfo.contains(u"good.info") ? byInfo[u"good.info"] : byInfo[u"gap.info"]);
    EXPECT_EQ(ok.PlainText(), u"ok");
    EXPECT_TRUE(ok.formats.empty()) << "File2 without File1 is not read";
    const CCHItem& sound = *byInfo[u"sound.info"];
    EXPECT_EQ(sound.PlainText(), u"sound");
    ASSERT_EQ(sound.formats.size(), 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sound.formats[0]->Data())),
              "{\\rtf1 sound}");
    EXPECT_EQ(sound.formats[1]->Bitmap()->Pixels(), pixels);
    const CCHItem& full = *byInfo[u"full.info"];
    EXPECT_EQ(std::tuple(full.Type(), full.Size(), full.formats.size()),
              std::tuple(history::CHT_TEXT_ANSI, uint32_t(history::kMaxItemFileBytes), 0u));
    EXPECT_EQ(P().files.List(kFolder, u"*").size(), files - 1)
        << "nothing deleted but the info file of good's and gap's duplicate";
    log::EventLog::Instance().WaitForWriters(5000);
    const std::string text = Utf16ToUtf8(Bytes(logPath));
    for (const auto& line : expected)
        EXPECT_EQ(CountOf(text, "] Clipboard history: " + line + "\r\n"), 1u) << line;
    EXPECT_EQ(CountOf(text, "Clipboard history: "), expected.size());
}

}  // namespace
}  // namespace wlk::test
