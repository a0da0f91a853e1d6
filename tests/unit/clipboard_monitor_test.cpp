// The clipboard spy and the handler against the simulated clipboard: listener
// and viewer chain, the watchdog's re-installation, the method choice, the
// capture with its notifications, the program's own copies (guard, timed
// block, named events), the handler's messages, and the tray window's
// sequence rule and delayed start.
#include "app/delayed_history.h"
#include "app/history_sequence.h"
#include "app/tray_commands.h"
#include "history/clipboard_history.h"
#include "log/event_log.h"
#include "settings/settings.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using history::CClipboardSpy;
using platform::WindowId;
using Note = std::pair<uint32_t, uint32_t>;                              // code, extra
using Sent = std::tuple<WindowId, uint32_t, uintptr_t, intptr_t, bool>;  // ..., posted

constexpr WindowId kTray = 0x100;
constexpr WindowId kHandler = 0x1333;
constexpr WindowId kSpy = 0x5919;
constexpr WindowId kOther = 0x7001;
constexpr WindowId kThird = 0x7002;
constexpr WindowId kOtherApp = 0x4242;

// Makes the spy window as the Windows side does: WM_CREATE and WM_DESTROY.
class FakeSpyHost : public history::ISpyWindowHost {
public:
    WindowId Create(WindowId) override {
        return CClipboardSpy::Instance().OnCreate(kSpy) ? kSpy : 0;
    }
    void Destroy(WindowId) override { CClipboardSpy::Instance().OnDestroy(); }
};

class FakeWatcher : public history::IClipboardWatcher {
public:
    FakeWatcher(history::HistoryParts parts, history::HandlerNotify notify)
        : handler_(parts, std::move(notify), true) {}
    history::CWLKWndClipboardHandler& Handler() override { return handler_; }

private:
    history::CWLKWndClipboardHandler handler_;
};

class RecordingObserver : public history::IClipboardObserver {
public:
    void OnClipboardChanged(WindowId owner) override { owners.push_back(owner); }
    void OnSpyStateChanged() override { ++stateChanges; }
    std::vector<WindowId> owners;
    int stateChanges = 0;
};

class ClipboardMonitorTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_TRUE(log::EventLog::Instance().Open(Path("log.txt")));
        spy().SetWindowHost(&host);
        Setting(settings::IntSetting::SaveClipboardHistory, 0);
        Setting(settings::IntSetting::ClipboardSpyMethod, -1);
        queue.emplace();
        store.emplace();
        processStop = P().sync.CreateEvent(u"", true, false, platform::Security::Default);
        history::SetProcessStopEvent(processStop);
        // Posted and sent messages arrive at once, as the windows would take them.
        Sim().ui.onMessage = [this](const platform::sim::SimMessage& m) -> intptr_t {
            if (m.window == kSpy && m.message == spy().SpyMessage()) spy().OnSpyMessage(m.wParam);
            if (m.window == kHandler && Live())
                return Live()->OnMessage(m.message, m.wParam, m.lParam).value_or(0);
            if (m.window == kTray && tray) return tray(m);
            return 0;
        };
    }
    void TearDown() override {
        handler.reset();
        clipboardHistory.reset();
        history::SetProcessStopEvent(nullptr);
        spy().StopSpy();
        spy().ClearObservers();
        Sim().sync.UseFakeClock(false);
        Sim().threads.WaitIdle();
        Sim().ui.onMessage = nullptr;
        store.reset();
        queue.reset();
        for (auto& [key, value] : saved) settings::Settings::Instance().Set(key, value);
        log::EventLog::Instance().Close();
        EXPECT_EQ(history::MyCopyCounter(), 0) << "the counter is back at rest";
        PlatformTest::TearDown();
    }
    CClipboardSpy& spy() { return CClipboardSpy::Instance(); }
    void Setting(settings::IntSetting key, int value) {
        saved.emplace(key, settings::Settings::Instance().Get(key));
        settings::Settings::Instance().Set(key, value);
    }
    size_t LogCount(const std::string& line) {
        log::EventLog::Instance().WaitForWriters(5000);
        return CountOf(Utf16ToUtf8(Bytes(Path("log.txt"))), line);
    }
    size_t MessageCount(WindowId window, uint32_t message) {
        size_t count = 0;
        for (const auto& m : Sim().ui.Messages())
            count += m.window == window && m.message == message;
        return count;
    }
    // The messages sent or posted from the `first` one on.
    std::vector<Sent> SentSince(size_t first) {
        const auto all = Sim().ui.Messages();
        std::vector<Sent> sent;
        for (size_t i = first; i < all.size(); ++i)
            sent.emplace_back(all[i].window, all[i].message, all[i].wParam, all[i].lParam,
                              all[i].posted);
        return sent;
    }
    history::HandlerNotify Notes() {
        return [this](uint32_t code, uint32_t extra) { notes.emplace_back(code, extra); };
    }
    bool CreateHandler(bool captureAtCreation = false) {
        handler = std::make_unique<history::CWLKWndClipboardHandler>(
            history::HistoryParts{*queue, *store}, Notes(), captureAtCreation);
        return handler->OnCreate(kHandler, kTray);
    }
    // The history as the tray window holds it; its watchers are made as the
    // Windows side makes them, with a capture at creation.
    history::ClipboardHistory& MakeHistory() {
        clipboardHistory = std::make_unique<history::ClipboardHistory>(
            [this](history::HistoryParts parts) -> std::unique_ptr<history::IClipboardWatcher> {
                loads.push_back(parts.load);
                auto watcher = std::make_unique<FakeWatcher>(parts, Notes());
                if (!watcher->Handler().OnCreate(kHandler, kTray)) return nullptr;
                return watcher;
            });
        return *clipboardHistory;
    }
    history::CWLKWndClipboardHandler* Live() {
        return clipboardHistory ? clipboardHistory->Handler() : handler.get();
    }
    // The texts of the live history, newest first.
    std::vector<Text> Texts() {
        std::vector<Text> texts;
        for (size_t i = 0; Live() && i < Live()->Queue().Count(); ++i)
            texts.push_back(Live()->Queue().Newest(i)->Title(0, false));
        return texts;
    }
    // Another program copies `text`, and the spy is told.
    void CopyElsewhere(std::u16string_view text) {
        Sim().clipboard.PutText(kOtherApp, text);
        spy().OnClipboardUpdate();
    }

    FakeSpyHost host;
    std::optional<history::CCHQueue> queue;
    std::optional<history::HistoryStore> store;
    std::shared_ptr<platform::Event> processStop;
    std::unique_ptr<history::CWLKWndClipboardHandler> handler;
    std::unique_ptr<history::ClipboardHistory> clipboardHistory;
    std::vector<bool> loads;
    std::vector<Note> notes;
    std::function<intptr_t(const platform::sim::SimMessage&)> tray;
    std::map<settings::IntSetting, int> saved;
};

TEST_F(ClipboardMonitorTest, ListenerInstallsUninstallsAndIsReinstalledAfterAMissedChange) {
    RecordingObserver observer;
    spy().AddObserver(&observer);
    ASSERT_TRUE(spy().StartSpy(true, kHandler));
    EXPECT_EQ(
        std::tuple(spy().Method(), Sim().clipboard.Listeners(), Sim().ui.TimerPeriod(kSpy, 101)),
        std::tuple(history::kSpyListener, std::set<WindowId>{kSpy}, 1000u));
    EXPECT_FALSE(spy().StartSpy(true, kHandler)) << "already installed";
    CopyElsewhere(u"x");
    EXPECT_EQ(observer.owners, std::vector<WindowId>{kOtherApp});

    // The watchdog re-installs once for a change the spy was not told of.
    EXPECT_TRUE(spy().OnTimer(101));  // the copy was seen: nothing missed
    Sim().clipboard.BumpSequence();
    EXPECT_TRUE(spy().OnTimer(101));
    EXPECT_TRUE(spy().OnTimer(101));
    EXPECT_EQ(Sim().clipboard.Listeners(), std::set<WindowId>{kSpy});
    EXPECT_EQ(LogCount("ReInstall entity for HWNDClipboardSpy IS IMPLEMENTED"), 2u);
    ASSERT_TRUE(spy().StopSpy());
    EXPECT_TRUE(Sim().clipboard.Listeners().empty() && !Sim().ui.TimerPeriod(kSpy, 101));
}

TEST_F(ClipboardMonitorTest, ViewerJoinsTheChainPassesMessagesOnAndLeavesIt) {
    // The viewer joins the chain in front of the first viewer and tells it.
    ASSERT_EQ(Sim().clipboard.SetViewer(kOther), 0u);
    ASSERT_TRUE(spy().StartSpy(false, kHandler));
    EXPECT_EQ(std::tuple(spy().Method(), Sim().clipboard.ViewerChain(), spy().NextViewer()),
              std::tuple(history::kSpyViewer, std::vector<WindowId>{kSpy, kOther}, kOther));
    EXPECT_EQ(SentSince(0),
              (std::vector<Sent>{{kOther, history::kWmChangeCbChain, 0, kSpy, false}}));

    RecordingObserver first, second;
    spy().AddObserver(&first);
    spy().AddObserver(&second);
    size_t from = Sim().ui.Messages().size();
    Sim().clipboard.PutText(kOtherApp, u"y");
    spy().OnDrawClipboard();
    EXPECT_EQ(SentSince(from),
              (std::vector<Sent>{{kSpy, spy().SpyMessage(), 0, 0, true},
                                 {kOther, history::kWmDrawClipboard, 0, 0, false}}));
    EXPECT_EQ(first.owners, std::vector<WindowId>{kOtherApp});
    EXPECT_EQ(second.owners, first.owners);
    spy().OnSpyMessage(history::kSpyStateChanged);
    EXPECT_EQ(first.stateChanges + second.stateChanges, 2);

    // The next viewer leaves: its successor takes its place. News of a window
    // further down goes on down the chain; a chain back to the spy is cut.
    spy().OnChangeCbChain(kOther, kThird);
    EXPECT_EQ(spy().NextViewer(), kThird);
    from = Sim().ui.Messages().size();
    spy().OnChangeCbChain(0x7777, 0x7778);
    EXPECT_EQ(SentSince(from),
              (std::vector<Sent>{{kThird, history::kWmChangeCbChain, 0x7777, 0x7778, false}}));
    spy().OnChangeCbChain(kThird, kSpy);
    from = Sim().ui.Messages().size();
    spy().OnDrawClipboard();
    EXPECT_EQ(spy().NextViewer(), 0u);
    EXPECT_EQ(SentSince(from).size(), 1u) << "only the spy message";

    ASSERT_TRUE(spy().StopSpy());
    EXPECT_EQ(std::tuple(Sim().clipboard.ViewerChain(), spy().NextViewer()),
              std::tuple(std::vector<WindowId>{kOther}, WindowId(0)));
}

TEST_F(ClipboardMonitorTest, ASpyThatCannotInstallStaysDownAndTellsItsObservers) {
    auto& clipboard = Sim().clipboard;
    clipboard.failAddListener = clipboard.failSetViewer = true;
    EXPECT_FALSE(spy().StartSpy(true, kHandler)) << "not even the viewer";
    EXPECT_EQ(spy().Window(), 0u);

    RecordingObserver observer;
    spy().AddObserver(&observer);
    clipboard.failAddListener = clipboard.failSetViewer = false;
    ASSERT_TRUE(spy().StartSpy(true, kHandler));
    // The watchdog's first look; its last sequence number outlives a stop.
    EXPECT_TRUE(spy().OnTimer(101));
    clipboard.failAddListener = clipboard.failSetViewer = true;
    clipboard.BumpSequence();
    EXPECT_TRUE(spy().OnTimer(101));
    EXPECT_EQ(std::tuple(spy().IsInstalled(), observer.stateChanges), std::tuple(false, 1));
}

TEST_F(ClipboardMonitorTest, MethodChoiceAndCreationFailures) {
    struct Case {
        int setting;
        bool listenerExists;
        int monitor;
        int spyMethod;
    };
    for (const Case c : {Case{-1, true, 2, 1}, Case{-1, false, 3, 0}, Case{0, true, 3, 0},
                         Case{1, true, 2, 1}, Case{1, false, 2, 0}}) {
        SCOPED_TRACE(c.setting);
        Setting(settings::IntSetting::ClipboardSpyMethod, c.setting);
        Sim().clipboard.listenerExists = c.listenerExists;
        ASSERT_TRUE(CreateHandler());
        // A fallback in the spy is not reflected in the handler's method.
        EXPECT_EQ(
            std::tuple(handler->MonitorMethod(), spy().Method(), history::OwnCopyHandlerWindow()),
            std::tuple(c.monitor, c.spyMethod, kHandler));
        handler->OnDestroy();
        EXPECT_EQ(std::tuple(spy().IsInstalled(), history::OwnCopyHandlerWindow()),
                  std::tuple(false, WindowId(0)))
            << "the spy goes with its handler";
    }
    Setting(settings::IntSetting::ClipboardSpyMethod, 5);
    EXPECT_FALSE(CreateHandler());
    EXPECT_FALSE(spy().IsInstalled() || history::OwnCopyHandlerWindow());
    EXPECT_EQ(LogCount("ERROR: ClipboardSpyMethod_v2_22=5 names no method"), 1u);

    Setting(settings::IntSetting::ClipboardSpyMethod, -1);
    Sim().sync.failCreate = true;
    EXPECT_FALSE(CreateHandler());
    EXPECT_EQ(handler->CreationErrorText(), u"Clipboad History\nError code: 5 Error 5.");
    EXPECT_EQ(LogCount("ERROR: Clipboad History"), 2u);
}

TEST_F(ClipboardMonitorTest, CapturesNotifyTheParentAndRequestASave) {
    Setting(settings::IntSetting::ClipboardHistoryMax, 2);
    Sim().clipboard.PutText(kOtherApp, u"before");
    ASSERT_TRUE(CreateHandler(true));
    ASSERT_EQ(handler->Queue().Count(), 1u);
    EXPECT_EQ(notes, std::vector<Note>{Note(0xB00, 2)});

    // A burst is read copy by copy, told and saved once it settles.
    CopyElsewhere(u"one");
    CopyElsewhere(u"two");
    const int opens = Sim().clipboard.opens;
    spy().OnClipboardUpdate();  // a late notification of what was read already
    EXPECT_EQ(Sim().clipboard.opens, opens);
    ASSERT_EQ(handler->Queue().Count(), 2u) << "ClipboardHistoryMax";
    EXPECT_EQ(std::tuple(handler->Queue().Newest(0)->PlainText(), notes.size(),
                         Sim().ui.TimerPeriod(kHandler, history::kSettleTimerId)),
              std::tuple(u"two", 1u, std::optional<uint32_t>(10)));
    // The timer waits for 10 quiet ms, but not beyond 500 ms of copies.
    for (int copy = 0; copy < 56; ++copy) {
        EXPECT_TRUE(handler->OnTimer(history::kSettleTimerId));
        ASSERT_EQ(notes.size(), 1u) << "told at copy " << copy;
        Sim().system.tickCount += 9;
        CopyElsewhere(u"copy " + ToText(copy));
    }
    EXPECT_TRUE(handler->OnTimer(history::kSettleTimerId));
    EXPECT_EQ(std::tuple(notes.back(), notes.size(),
                         MessageCount(kHandler, history::WM_CH_SAVE_REQUEST),
                         Sim().ui.TimerPeriod(kHandler, history::kSettleTimerId)),
              std::tuple(Note(0xB00, 0), 2u, 2u, std::nullopt));
    CopyElsewhere(u"after the burst");
    Sim().system.tickCount += 9;
    EXPECT_TRUE(handler->OnTimer(history::kSettleTimerId));
    Sim().system.tickCount += 1;
    EXPECT_TRUE(handler->OnTimer(history::kSettleTimerId));
    EXPECT_EQ(std::tuple(notes.size(), MessageCount(kHandler, history::WM_CH_SAVE_REQUEST)),
              std::tuple(3u, 3u));

    handler->Queue().SetLocked(true);
    CopyElsewhere(u"while the menu is open");
    EXPECT_FALSE(Sim().ui.TimerPeriod(kHandler, history::kSettleTimerId));
    handler->Queue().SetLocked(false);

    // The spy went down for good: a topmost box says so.
    spy().OnSpyMessage(history::kSpyStateChanged);
    auto boxes = Sim().ui.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(
        std::tuple(boxes[0].text, boxes[0].caption, boxes[0].topmost),
        std::tuple(u"CWLKWndClipboardHandler::_OnClipboardSpyStateChanged", u"Wordlark", true));

    // Clear and Delete tell the parent with extra 1 and ask for a save.
    EXPECT_TRUE(handler->Delete({0}, true));
    EXPECT_EQ(notes.back(), Note(0xB00, 1));
    EXPECT_TRUE(handler->Clear());
    EXPECT_FALSE(handler->Clear());
    EXPECT_EQ(std::tuple(notes.size(), MessageCount(kHandler, history::WM_CH_SAVE_REQUEST)),
              std::tuple(5u, 5u));
}

TEST_F(ClipboardMonitorTest, OwnCopiesAreSkippedWhileTheGuardLivesAndBetweenTheNamedEvents) {
    ASSERT_TRUE(CreateHandler());
    {
        history::OwnCopyScope guard;
        CopyElsewhere(u"our own paste");
    }
    // The notification of a write made in the scope may come after it ended;
    // the content is still recognised as our own until someone else copies.
    {
        history::OwnCopyScope guard;
        Sim().clipboard.PutText(kOtherApp, u"our own, told late");
    }
    spy().OnClipboardUpdate();
    EXPECT_EQ(handler->Queue().Count(), 0u);
    CopyElsewhere(u"theirs");
    EXPECT_EQ(handler->Queue().Count(), 1u);

    // Other processes of the session mark their copies with the two events.
    EXPECT_EQ(Sim().sync.SecurityOf(history::kStartCopyEventName), platform::Security::Everyone);
    EXPECT_EQ(Sim().sync.SecurityOf(history::kEndCopyEventName), platform::Security::Everyone);
    auto start =
        P().sync.OpenEvent(history::kStartCopyEventName, platform::EventAccess::ModifyState);
    auto end = P().sync.OpenEvent(history::kEndCopyEventName, platform::EventAccess::ModifyState);
    ASSERT_TRUE(start && end);
    start->Set();
    ASSERT_TRUE(WaitUntil([] { return history::MyCopyCounter() == 1; }));
    CopyElsewhere(u"the pane's copy");
    EXPECT_EQ(handler->Queue().Count(), 1u);
    end->Set();
    ASSERT_TRUE(WaitUntil([] { return history::MyCopyCounter() == 0; }));
    CopyElsewhere(u"next outside copy");
    EXPECT_EQ(handler->Queue().Count(), 2u);
}

TEST_F(ClipboardMonitorTest, AsyncBlockEndsAfterThreeSecondsWhicheverHandlerLivesThen) {
    EXPECT_FALSE(history::BlockOwnCopyAsync()) << "no handler yet";
    ASSERT_TRUE(CreateHandler());
    Sim().sync.UseFakeClock(true);
    // Passes the three seconds once the block's thread waits for them.
    auto passThreeSeconds = [] {
        ASSERT_TRUE(WaitUntil([] { return Sim().sync.ClockWaiters() == 1; }));
        Sim().system.tickCount += 3000;
        Sim().sync.AdvanceClock(3000);
    };
    auto block = [&](auto meanwhile) {
        ASSERT_TRUE(history::BlockOwnCopyAsync());
        ASSERT_TRUE(WaitUntil([] { return Sim().sync.ClockWaiters() == 1; }));
        meanwhile();
        passThreeSeconds();
        // The watchers live on, so wait for the counter rather than for idle threads.
        ASSERT_TRUE(WaitUntil([] { return history::MyCopyCounter() == 0; }));
    };
    block([&] {
        CopyElsewhere(u"emptied to fetch the selection");
        EXPECT_EQ(handler->Queue().Count(), 0u);
    });
    EXPECT_EQ(MessageCount(kHandler, history::WM_DELAY_UNLOCK), 1u);
    handler->OnMessage(history::WM_DELAY_UNLOCK, 0, 0);
    EXPECT_EQ(history::MyCopyCounter(), 0) << "never below rest";

    // A lock removes the handler and the unlock makes a new one within the
    // three seconds: the new one ends the block.
    block([&] {
        handler->OnDestroy();
        ASSERT_TRUE(CreateHandler());
    });
    EXPECT_EQ(MessageCount(kHandler, history::WM_DELAY_UNLOCK), 2u);
    CopyElsewhere(u"after the unlock");
    EXPECT_EQ(handler->Queue().Count(), 1u);

    // With no handler at the end ("Keep" turned off) the block ends all the same.
    block([&] { handler->OnDestroy(); });
    EXPECT_EQ(MessageCount(kHandler, history::WM_DELAY_UNLOCK), 2u);

    // The program ends first: the thread ends without a word.
    ASSERT_TRUE(CreateHandler());
    ASSERT_TRUE(history::BlockOwnCopyAsync());
    ASSERT_TRUE(WaitUntil([] { return Sim().sync.ClockWaiters() == 1; }));
    processStop->Set();
    ASSERT_TRUE(WaitUntil([] { return Sim().sync.ClockWaiters() == 0; }));
    EXPECT_EQ(history::MyCopyCounter(), 1);
    history::OnDelayUnlock();

    Sim().threads.failNextStarts = 1;
    EXPECT_FALSE(history::BlockOwnCopyAsync());
    EXPECT_EQ(history::MyCopyCounter(), 0);
}

TEST_F(ClipboardMonitorTest, TheHistoryKeepsItsItemsWhileItsWatcherComesAndGoes) {
    // Saving is off: nothing on disk could bring the items back.
    Setting(settings::IntSetting::ClipboardHistory, 1);
    auto& clipboardHistory = MakeHistory();
    ASSERT_TRUE(clipboardHistory.Ensure());
    CopyElsewhere(u"one");
    CopyElsewhere(u"two");

    // Locking removes the watcher and keeps the items; unlocking brings it
    // back, which takes what was copied meanwhile.
    clipboardHistory.OnSessionChange(-1);
    EXPECT_FALSE(clipboardHistory.Exists() || clipboardHistory.Queue() || spy().IsInstalled());
    Sim().clipboard.PutText(kOtherApp, u"while locked");
    clipboardHistory.OnSessionChange(+1);
    ASSERT_TRUE(clipboardHistory.Exists());
    EXPECT_EQ(Texts(), (std::vector<Text>{u"while locked", u"two", u"one"}));

    // Only a watcher the lock removed comes back, once.
    clipboardHistory.OnSessionChange(+1);
    clipboardHistory.SetKeep(false);
    clipboardHistory.OnSessionChange(-1);
    clipboardHistory.OnSessionChange(+1);
    EXPECT_FALSE(clipboardHistory.Exists());
    EXPECT_EQ(LogCount("Clipboard Spy is installed"), 1u);
    clipboardHistory.SetKeep(true);
    EXPECT_TRUE(clipboardHistory.ReKeep());
    CopyElsewhere(u"three");
    EXPECT_EQ(Texts(), (std::vector<Text>{u"three", u"while locked", u"two", u"one"}));
    EXPECT_EQ(loads, (std::vector<bool>{true, false, false, false})) << "read from disk once";
}

TEST_F(ClipboardMonitorTest, AHistoryEntryGoesBackOnTheClipboardWithAllItsFormatsToTheTop) {
    Setting(settings::IntSetting::ClipboardFormats2, 1);
    auto& clipboard = Sim().clipboard;
    const uint32_t rtf = clipboard.RegisterFormat(history::kRtfFormatName);
    const uint32_t html = clipboard.RegisterFormat(history::kHtmlFormatName);
    auto bytes = [](std::string_view text) {
        return std::vector<uint8_t>(text.begin(), text.end() + 1);  // with the NUL
    };
    const std::string page = "Version:0.9\r\nSourceURL:https://example.org/\r\n<p>web</p>";
    auto picture = P().bitmaps.FromPixels(2, 1, std::vector<uint32_t>{0xFF0000, 0x00FF00});
    ASSERT_TRUE(MakeHistory().Ensure());
    clipboard.Put(kOtherApp, {{rtf, bytes("{\\rtf1 web\\par page}")},
                              {html, bytes(page)},
                              {platform::kCfUnicodeText, {'w', 0, 0, 0}}});
    spy().OnClipboardUpdate();
    clipboard.Put(kOtherApp, {{html, bytes(page)}}, std::move(picture));
    spy().OnClipboardUpdate();
    clipboard.Put(kOtherApp,
                  {{platform::kCfText, bytes("\xC0")}, {platform::kCfLocale, {0x19, 4, 0, 0}}});
    spy().OnClipboardUpdate();
    CopyElsewhere(u"newest");
    auto& queue = *clipboardHistory->Queue();
    ASSERT_EQ(queue.Count(), 4u);

    // What a paste elsewhere would find; the picture as its pixels.
    using Blocks = std::map<uint32_t, std::vector<uint8_t>>;
    auto content = [&] {
        Blocks blocks;
        std::vector<uint32_t> pixels;
        EXPECT_TRUE(clipboard.Open(kOtherApp));
        for (uint32_t format : clipboard.Formats())
            if (auto block = clipboard.GetData(format, 1 << 20)) blocks[format] = block->bytes;
        if (auto bitmap = clipboard.GetBitmap()) pixels = bitmap->Pixels();
        clipboard.Close();
        return std::pair(blocks, pixels);
    };
    const std::vector<uint8_t> plain{'w', 0, 'e', 0, 'b', 0, '\r', 0, '\n', 0,
                                     'p', 0, 'a', 0, 'g', 0, 'e',  0, 0,    0};
    const std::pair<Blocks, std::vector<uint32_t>> cases[] = {
        // RTF with its plain text, which the capture did not keep.
        {{{rtf, bytes("{\\rtf1 web\\par page}")},
          {html, bytes(page)},
          {platform::kCfUnicodeText, plain}},
         {}},
        {{{html, bytes(page)}}, {0xFF0000, 0x00FF00}},
        {{{platform::kCfUnicodeText, {0x10, 0x04, 0, 0}}, {platform::kCfLocale, {0x19, 4, 0, 0}}},
         {}},
    };
    notes.clear();
    for (const auto& expected : cases) {
        // The oldest entry each time.
        const uint32_t id = queue.Newest(3)->id;
        ASSERT_TRUE(clipboardHistory->PutEntryOnClipboard(3));
        EXPECT_EQ(content(), expected);
        spy().OnClipboardUpdate();  // the write's notification, after the fact
        // The program's own write is no new copy; the entry is on top, to be written again.
        EXPECT_EQ(
            std::tuple(queue.Count(), queue.Newest(0)->id, queue.Newest(0)->saved, notes.back()),
            std::tuple(4u, id, history::SavedState::NotOnDisk, Note(0xB00, 1)));
    }
    EXPECT_EQ(Texts().back(), u"newest");
    EXPECT_FALSE(clipboardHistory->PutEntryOnClipboard(4));
    EXPECT_EQ(LogCount("History entry 4 is not in the history"), 1u);
}

TEST_F(ClipboardMonitorTest, HandlerMessagesAndTheDelayedSave) {
    ASSERT_TRUE(CreateHandler());
    // A ready item from elsewhere in the process: added, nothing told.
    const intptr_t made = intptr_t(TextItem(u"made elsewhere").release());
    EXPECT_EQ(P().ui.SendMessage(kHandler, handler->AddItemMessage(), 0, made), 1);
    ASSERT_EQ(handler->Queue().Count(), 1u);
    EXPECT_TRUE(notes.empty() && MessageCount(kHandler, history::WM_CH_SAVE_REQUEST) == 0);

    // A saved copy hands its file to the live item of the same id, once written.
    auto copy = handler->Queue().At(0)->Copy();
    copy->dataPath = u"C:\\h\\Unicode_clipboard_history1.txt";
    P().ui.SendMessage(kHandler, handler->CopySavedMessage(), 0, intptr_t(copy.get()));
    EXPECT_TRUE(handler->Queue().At(0)->dataPath.empty()) << "not written yet";
    copy->saved = history::SavedState::Written;
    EXPECT_EQ(P().ui.SendMessage(kHandler, handler->CopySavedMessage(), 0, intptr_t(copy.get())),
              1);
    EXPECT_EQ(std::pair(handler->Queue().At(0)->dataPath, handler->Queue().At(0)->saved),
              std::pair(copy->dataPath, history::SavedState::Written));

    // A loaded history is merged and the parent told with 0xB01; the loader
    // keeps its queue and destroys it after the hand-over.
    auto loaded = std::make_unique<history::CCHQueue>(u"C:\\h\\");
    loaded->Append(TextItem(u"from disk"));
    P().ui.SendMessage(kHandler, handler->Store().HistoryLoadedMessage(), 0,
                       intptr_t(loaded.get()));
    EXPECT_EQ(handler->Queue().Count(), 2u);
    EXPECT_EQ(notes, std::vector<Note>{Note(0xB01, 0)});

    // Edits save one second after the last one.
    Sim().system.tickCount = 50000;
    handler->TouchItems();
    EXPECT_EQ(Sim().ui.TimerPeriod(kHandler, 2343), 1000u);
    Sim().system.tickCount = 51000;
    EXPECT_TRUE(handler->OnTimer(2343));
    EXPECT_TRUE(Sim().ui.TimerPeriod(kHandler, 2343));
    EXPECT_EQ(MessageCount(kHandler, history::WM_CH_SAVE_REQUEST), 0u);
    Sim().system.tickCount = 51001;
    EXPECT_TRUE(handler->OnTimer(2343));
    EXPECT_FALSE(Sim().ui.TimerPeriod(kHandler, 2343));
    EXPECT_EQ(MessageCount(kHandler, history::WM_CH_SAVE_REQUEST), 1u);
}

TEST_F(ClipboardMonitorTest, TrayReactsOncePerSequenceNumberAndPlaysTheCaptureSound) {
    app::HistorySequenceRule rule;
    // (react, play the sound) for a notification's extra value and item count.
    auto react = [&rule](uint32_t extra, size_t count) {
        const auto reaction = rule.OnHistoryChanged(extra, count);
        return std::pair(reaction.react, reaction.playSound);
    };
    Sim().clipboard.PutText(kOtherApp, u"a");
    EXPECT_EQ(react(0, 3), std::pair(true, true));
    EXPECT_EQ(react(0, 3), std::pair(false, false));
    Sim().clipboard.BumpSequence();
    EXPECT_EQ(react(1, 2), std::pair(true, false)) << "an edit, not a capture";
}

TEST_F(ClipboardMonitorTest, DelayedStartTriesEveryTwoSecondsUntilSuccessOrTheStop) {
    std::atomic<int> tries = 0;
    tray = [&](const platform::sim::SimMessage& m) -> intptr_t {
        if (m.message != app::kMsgDelayedHistory) return 0;
        return ++tries == 3 ? 1 : 0;
    };
    Sim().sync.UseFakeClock(true);
    std::shared_ptr<platform::Event> stop =
        P().sync.CreateEvent(u"", true, false, platform::Security::Default);
    // Drives the thread one period at a time.
    auto runPeriods = [&](int periods) {
        for (int i = 0; i < periods; ++i) {
            const int before = tries;
            ASSERT_TRUE(WaitUntil([] { return Sim().sync.ClockWaiters() == 1; }));
            Sim().sync.AdvanceClock(1999);
            Sim().sync.AdvanceClock(1);
            ASSERT_TRUE(WaitUntil([&] { return tries == before + 1; }));
        }
    };
    ASSERT_TRUE(app::StartDelayedHistory(stop, kTray));
    runPeriods(3);
    Sim().threads.WaitIdle();
    EXPECT_EQ(tries, 3) << "ends on success";

    tries = 0;
    ASSERT_TRUE(app::StartDelayedHistory(stop, kTray));
    runPeriods(1);
    ASSERT_TRUE(WaitUntil([] { return Sim().sync.ClockWaiters() == 1; }));
    stop->Set();
    Sim().threads.WaitIdle();
    EXPECT_EQ(tries, 1) << "the stop event ends the waiting";
}

}  // namespace
}  // namespace wlk::test
