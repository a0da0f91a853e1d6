// Instance control end to end on the simulated platform: several starts of
// the program run side by side as threads and talk through named events.
#include "app/startup.h"

#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

#include "app/app_globals.h"
#include "app/command_line.h"
#include "app/instance_control.h"
#include "app/run_as_admin.h"
#include "log/event_log.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

// Limits on conditions: generous, for sanitizer builds on a busy machine.
constexpr int kLimitMs = 30000;

// Stands in for the tray window: answers the instance message, runs until told to end.
class FakeHost : public app::StartupHost {
public:
    explicit FakeHost(platform::WindowId id) : id_(id) {}
    void InitializeRuntime() override {}
    void InitializeModule() override {}
    int RunMain(platform::Event&, bool, const app::CommandLineOptions&) override {
        app::Globals().trayWindow = id_;
        running = true;
        while (!quit) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        running = false;
        return 0;
    }
    void TerminateRuntime() override {}

    void OnInstanceMessage(uintptr_t wParam) {
        if (wParam == 0) {
            ++alreadyRunningNotices;
            return;
        }
        ++exitRequests;
        // The real window takes a while to end: an elevated start that did not
        // wait for the hand-over would find this instance still running.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        quit = true;
    }

    std::atomic<bool> running{false};
    std::atomic<bool> quit{false};
    std::atomic<int> alreadyRunningNotices{0};
    std::atomic<int> exitRequests{0};

private:
    platform::WindowId id_;
};

class StartupTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        WriteSettings("WriteLog=1\r\nDelayAutoLoadSeconds_NextRelease=120\r\n");
        Sim().ui.onMessage = [this](const platform::sim::SimMessage& m) -> intptr_t {
            if (m.message == app::InstanceMessage() && hosts_.count(m.window))
                hosts_[m.window]->OnInstanceMessage(m.wParam);
            return 0;
        };
    }
    void TearDown() override {
        StopAll();
        log::EventLog::Instance().Close();
        app::Globals().trayWindow = 0;
        PlatformTest::TearDown();
    }

    void WriteSettings(const std::string& lines) {
        WriteUtf16(u"C:\\Program Files\\Wordlark\\Settings.ini", "[Settings]\r\n" + lines);
    }
    FakeHost& NewHost() {
        auto id = platform::WindowId(hosts_.size() + 1);
        hosts_[id] = std::make_unique<FakeHost>(id);
        return *hosts_[id];
    }
    int Start(const char16_t* commandLine, FakeHost& host) {
        settings::Settings s = LoadedSettings();
        return app::RunStartup(commandLine, s, host);
    }
    int Start(const char16_t* commandLine) { return Start(commandLine, NewHost()); }
    FakeHost& StartRunning(const char16_t* commandLine, std::atomic<int>* exitCode = nullptr) {
        FakeHost& host = NewHost();
        threads_.emplace_back([this, commandLine, &host, exitCode] {
            int code = Start(commandLine, host);
            if (exitCode) *exitCode = code;
            ++ended_;
        });
        return host;
    }
    bool Runs(FakeHost& host) {
        return WaitUntil([&] { return host.running.load(); }, kLimitMs);
    }
    bool AllEnded() const { return ended_ == threads_.size(); }
    // However a test ends, a failed assertion too, every start is told to end
    // (a waiting logon start released, a running instance quit) and joined.
    void StopAll() {
        WaitUntil(
            [&] {
                for (auto& [id, host] : hosts_) host->quit = true;
                app::SignalNamedEvent(app::kAutomodeEventName);
                return AllEnded();
            },
            kLimitMs);
        for (auto& t : threads_) t.join();
        threads_.clear();
        ended_ = 0;
    }
    // Every instance ends by itself on /exit.
    void StopInstance() {
        EXPECT_EQ(Start(u"/exit"), app::kExitOtherInstance);
        EXPECT_TRUE(WaitUntil([&] { return AllEnded(); }, kLimitMs));
        StopAll();
    }
    // Watcher threads run as long as an instance does, so the log is polled.
    size_t LogCount(const std::string& text) {
        return CountOf(Utf16ToUtf8(Bytes(u"C:\\Program Files\\Wordlark\\LogReport.txt")), text);
    }
    bool Logged(const std::string& text, size_t times = 1) {
        return WaitUntil([&] { return LogCount(text) >= times; }, kLimitMs);
    }

    std::map<platform::WindowId, std::unique_ptr<FakeHost>> hosts_;
    std::vector<std::thread> threads_;
    std::atomic<size_t> ended_{0};
};

// Elevations that never start, and a start without its instance event.
// (The key help and /exit without an instance are the end-to-end tests'.)
TEST_F(StartupTest, RefusedElevationAndAMissingInstanceEventRunNoInstance) {
    // A refused elevation releases the hand-over and tells the user.
    Sim().ui.shellResult = 5;
    bool closed = false;
    EXPECT_FALSE(app::RunAsAdministrator(1, [&] { closed = true; }));
    EXPECT_FALSE(closed);
    EXPECT_FALSE(Sim().sync.Exists(app::kAdminHandOverEventName));
    const auto boxes = Sim().ui.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::tie(boxes[0].text, boxes[0].icon),
              std::tuple(Text(u"Cannot start second instance of Wordlark"),
                         platform::MessageIcon::Warning));

    Sim().sync.failCreate = true;
    EXPECT_FALSE(app::RunAsAdministrator(1, [] {}));
    EXPECT_EQ(Sim().ui.MessageBoxes().back().text, u"Cannot create event for admin instance");
    FakeHost& host = NewHost();
    EXPECT_EQ(Start(u"", host), app::kExitNoInstanceEvent);
    EXPECT_FALSE(host.running);
}

// Which of the running instance's events a later start sets, with the events
// held by the test alone so that no watcher resets them meanwhile.
TEST_F(StartupTest, EachLaterStartSetsTheOneEventOfItsRequest) {
    auto& sync = P().sync;
    auto instance =
        sync.CreateEvent(app::kInstanceEventName, true, false, platform::Security::Everyone);
    const char16_t* const names[] = {app::kExitEventName, app::kAlreadyWorkEventName,
                                     app::kShowMenuEventName, app::kEditorRequestEventName};
    std::vector<std::unique_ptr<platform::Event>> events;
    for (const char16_t* name : names)
        events.push_back(sync.CreateEvent(name, true, false, platform::Security::Everyone));
    // The command line, its exit code and the one event left set, or none.
    const std::tuple<const char16_t*, int, const char16_t*> cases[] = {
        {u"", app::kExitOtherInstance, app::kAlreadyWorkEventName},
        {u"/exit", app::kExitOtherInstance, app::kExitEventName},
        {u"/showmenu /exit", app::kExitOtherInstance, app::kShowMenuEventName},
        {u"/cfu", app::kExitOtherInstance, nullptr},  // a pulse: only a waiter sees it
        {u"/edit", app::kExitHandedOver, app::kEditorRequestEventName},
    };
    for (const auto& [commandLine, exitCode, set] : cases) {
        for (auto& event : events) event->Reset();
        EXPECT_EQ(Start(commandLine), exitCode) << ToUtf8(commandLine);
        for (const char16_t* name : names)
            EXPECT_EQ(Sim().sync.IsSet(name), set && Text(name) == set)
                << ToUtf8(commandLine) << " and " << ToUtf8(name);
    }
}

// A logon start that waits out its delay is run for real end to end.
TEST_F(StartupTest, ManualStartReleasesAWaitingLogonStart) {
    std::atomic<int> logonExit{-1};
    FakeHost& logon = StartRunning(u"/autoload", &logonExit);
    ASSERT_TRUE(WaitUntil([] { return Sim().sync.Exists(app::kAutomodeEventName); }, kLimitMs));
    EXPECT_FALSE(logon.running);

    EXPECT_EQ(Start(u""), app::kExitAutomodeReleased);
    ASSERT_TRUE(Runs(logon)) << "the logon start goes on at once, not after its 120 s";
    EXPECT_TRUE(Logged("] Starting waiting for automode...\r\n"));
    EXPECT_TRUE(Logged("] Signal for automode. Exit\r\n"));
    EXPECT_TRUE(Logged("] INFO: automode disabled WAIT_OBJECT_0\r\n"));
    EXPECT_FALSE(Sim().sync.Exists(app::kAutomodeEventName));
    StopInstance();
    EXPECT_EQ(logonExit, 0);
}

// The first instance answers a later start, hands over to an elevated one and
// leaves no named object and a closed log behind.
TEST_F(StartupTest, ElevatedStartTakesOverFromTheFirstInstanceOrLogsThatNoneHandedOver) {
    FakeHost& alone = StartRunning(u"/asadmin");
    ASSERT_TRUE(Runs(alone));
    EXPECT_TRUE(
        Logged("] ERROR: Cannot wait event from first instance\n\nError Code: 2\n"
               "File not found.\r\n"));
    StopInstance();

    std::atomic<int> firstExit{-1};
    FakeHost& first = StartRunning(u"", &firstExit);
    ASSERT_TRUE(Runs(first));
    EXPECT_EQ(Sim().sync.SecurityOf(app::kInstanceEventName), platform::Security::Everyone);
    EXPECT_EQ(Start(u""), 1);
    ASSERT_TRUE(WaitUntil([&] { return first.alreadyRunningNotices == 1; }, kLimitMs));

    bool closed = false;
    ASSERT_TRUE(app::RunAsAdministrator(1, [&] { closed = true; }));
    EXPECT_TRUE(closed);
    auto calls = Sim().ui.ShellCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(ToUtf8(calls[0].verb + u"|" + calls[0].file + u"|" + calls[0].parameters + u"|" +
                     calls[0].directory),
              "runas|C:\\Program Files\\Wordlark\\Wordlark.exe|/asadmin|"
              "C:\\Program Files\\Wordlark\\");

    // The elevated start asks the first to end and waits for the hand-over.
    FakeHost& elevated = StartRunning(u"/asadmin");
    ASSERT_TRUE(Runs(elevated));
    EXPECT_EQ(first.exitRequests, 1);
    EXPECT_FALSE(first.running);
    // The elevated start's banner follows any error of its hand-over in the log.
    EXPECT_TRUE(Logged("===Start Wordlark ", 3));
    EXPECT_EQ(LogCount("Cannot wait event"), 1u) << "only the start without a first instance";
    StopInstance();
    EXPECT_EQ(firstExit, 0);
    EXPECT_FALSE(Sim().sync.Exists(app::kInstanceEventName));
    EXPECT_FALSE(Sim().sync.Exists(app::kExitEventName)) << "watchers closed their events";
    EXPECT_TRUE(Logged("===End Word Lark=== ")) << "the log is closed last";
}

}  // namespace
}  // namespace wlk::test
