// Instance control end to end on the simulated platform: several starts of
// the program run side by side as threads and talk through named events.
#include "app/startup.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <thread>

#include "app/app_globals.h"
#include "app/command_line.h"
#include "app/instance_control.h"
#include "app/run_as_admin.h"
#include "log/event_log.h"
#include "settings/registry_entries.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

// Stands in for the tray window: owns the request events it would create and
// runs until asked to end.
class FakeHost : public app::StartupHost {
public:
    explicit FakeHost(platform::WindowId id) : id_(id) {}
    void InitializeRuntime() override {}
    void InitializeModule() override {}
    int RunMain(platform::Event&, bool noinstall, const app::CommandLineOptions&) override {
        auto& sync = platform::Current().sync;
        auto editor = sync.CreateEvent(app::kEditorRequestEventName, true, false,
                                       platform::Security::Everyone);
        auto showMenu =
            sync.CreateEvent(app::kShowMenuEventName, false, false, platform::Security::Everyone);
        noinstall_ = noinstall;
        app::Globals().trayWindow = id_;
        running = true;
        std::unique_lock lock(mutex_);
        quitSignal_.wait(lock, [this] { return quit_; });
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
        // The real window waits half a second before it ends.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Quit();
    }
    void Quit() {
        std::lock_guard lock(mutex_);
        quit_ = true;
        quitSignal_.notify_all();
    }

    std::atomic<bool> running{false};
    std::atomic<int> alreadyRunningNotices{0};
    std::atomic<int> exitRequests{0};

private:
    platform::WindowId id_;
    bool noinstall_ = false;
    std::mutex mutex_;
    std::condition_variable quitSignal_;
    bool quit_ = false;
};

class StartupTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        Sim().files.Put(u"C:\\Program Files\\Wordlark\\Settings.ini",
                        kBom16 + Utf16Bytes("[Settings]\r\nWriteLog=1\r\n"
                                            "DelayAutoLoadSeconds_NextRelease=10\r\n"));
        Sim().ui.onMessage = [this](const platform::sim::SimMessage& m) -> intptr_t {
            if (m.message == app::InstanceMessage() && hosts_.count(m.window))
                hosts_[m.window]->OnInstanceMessage(m.wParam);
            return 0;
        };
    }
    void TearDown() override {
        for (auto& t : running_) t.join();
        log::EventLog::Instance().Close();
        app::Globals().trayWindow = 0;
        PlatformTest::TearDown();
    }

    FakeHost& NewHost() {
        auto id = platform::WindowId(hosts_.size() + 1);
        hosts_[id] = std::make_unique<FakeHost>(id);
        return *hosts_[id];
    }
    int Start(const char16_t* commandLine, FakeHost& host) {
        settings::Settings s;
        s.Load();
        return app::RunStartup(commandLine, s, host);
    }
    int Start(const char16_t* commandLine) { return Start(commandLine, NewHost()); }
    // Starts an instance on its own thread and waits until its loop runs.
    FakeHost& StartRunning(const char16_t* commandLine, std::atomic<int>* exitCode = nullptr) {
        FakeHost& host = NewHost();
        running_.emplace_back([this, commandLine, &host, exitCode] {
            int code = Start(commandLine, host);
            if (exitCode) *exitCode = code;
        });
        return host;
    }
    // Watcher threads run as long as an instance does, so the log is polled.
    std::string LogText() {
        return Utf16ToUtf8(Bytes(u"C:\\Program Files\\Wordlark\\LogReport.txt"));
    }
    bool Logged(const std::string& text) {
        return WaitUntil([&] { return LogText().find(text) != std::string::npos; });
    }
    void StopInstance() {
        EXPECT_EQ(Start(u"/exit"), app::kExitOtherInstance);
        for (auto& t : running_) t.join();
        running_.clear();
    }

    std::map<platform::WindowId, std::unique_ptr<FakeHost>> hosts_;
    std::vector<std::thread> running_;
};

TEST_F(StartupTest, ExitWithNoInstanceEndsWithOne) {
    FakeHost& host = NewHost();
    EXPECT_EQ(Start(u"/exit", host), 1);
    EXPECT_FALSE(host.running);
    EXPECT_FALSE(Sim().sync.Exists(app::kInstanceEventName));
    EXPECT_TRUE(
        Logged("] Start Wordlark 2.61.0.1 with cmdline [/exit] on Simulated Windows 10.0\r\n"));
    EXPECT_TRUE(Logged("] Automode not found. Continue\r\n"));
}

TEST_F(StartupTest, LaterStartsSignalTheRunningInstanceWhichEndsOnExit) {
    std::atomic<int> firstExit{-1};
    FakeHost& first = StartRunning(u"", &firstExit);
    ASSERT_TRUE(WaitUntil([&] { return first.running.load(); }));
    EXPECT_EQ(Sim().sync.SecurityOf(app::kInstanceEventName), platform::Security::Everyone);

    EXPECT_EQ(Start(u""), 1);
    ASSERT_TRUE(WaitUntil([&] { return first.alreadyRunningNotices == 1; }));
    EXPECT_TRUE(first.running);

    EXPECT_EQ(Start(u"-EXIT"), 1);
    for (auto& t : running_) t.join();
    running_.clear();
    EXPECT_EQ(firstExit, 0);
    EXPECT_EQ(first.exitRequests, 1);
    EXPECT_FALSE(Sim().sync.Exists(app::kInstanceEventName));
    EXPECT_FALSE(Sim().sync.Exists(app::kExitEventName)) << "watchers closed their events";
    EXPECT_TRUE(
        Logged("TEMP PREFIX TEXT: [12/05/26 23:04:09] \n\n=============================\n"
               "===Start Wordlark 2.61.0.1 on Simulated Windows 10.0=== 12/05/26 23:04:09\r\n"));
    EXPECT_TRUE(Logged("EXE_Agent: [12/05/26 23:04:09] ===End Word Lark=== 12/05/26 23:04:09\r\n"));
}

TEST_F(StartupTest, ShowMenuIsTheOnlyRequestSentWithExit) {
    FakeHost& first = StartRunning(u"");
    ASSERT_TRUE(WaitUntil([&] { return first.running.load(); }));
    EXPECT_EQ(Start(u"/showmenu /exit"), 1);
    EXPECT_TRUE(Sim().sync.IsSet(app::kShowMenuEventName));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(first.exitRequests, 0);
    EXPECT_TRUE(first.running);
    StopInstance();
}

TEST_F(StartupTest, ManualStartReleasesAWaitingLogonStart) {
    std::atomic<int> logonExit{-1};
    FakeHost& logon = StartRunning(u"/autoload", &logonExit);
    ASSERT_TRUE(WaitUntil([] { return Sim().sync.Exists(app::kAutomodeEventName); }));
    EXPECT_FALSE(logon.running);

    EXPECT_EQ(Start(u""), app::kExitAutomodeReleased);
    ASSERT_TRUE(WaitUntil([&] { return logon.running.load(); }, 3000))
        << "the logon start goes on at once, not after its 10 s";
    EXPECT_TRUE(Logged("] Starting waiting for automode...\r\n"));
    EXPECT_TRUE(Logged("] Signal for automode. Exit\r\n"));
    EXPECT_TRUE(Logged("] INFO: automode disabled WAIT_OBJECT_0\r\n"));
    EXPECT_FALSE(Sim().sync.Exists(app::kAutomodeEventName));
    StopInstance();
    EXPECT_EQ(logonExit, 0);
}

TEST_F(StartupTest, LogonStartWaitsItsDelayOrNotAtAll) {
    Sim().files.Put(u"C:\\Program Files\\Wordlark\\Settings.ini",
                    kBom16 + Utf16Bytes("[Settings]\r\nWriteLog=1\r\n"
                                        "DelayAutoLoadSeconds_NextRelease=1\r\n"));
    FakeHost& waited = StartRunning(u"/autoload");
    ASSERT_TRUE(WaitUntil([&] { return waited.running.load(); }, 5000));
    EXPECT_TRUE(Logged("] INFO: automode expired WAIT_TIMEOUT\r\n"));
    StopInstance();

    Sim().files.Put(u"C:\\Program Files\\Wordlark\\Settings.ini",
                    kBom16 + Utf16Bytes("[Settings]\r\nWriteLog=0\r\n"
                                        "DelayAutoLoadSeconds_NextRelease=0\r\n"));
    FakeHost& direct = StartRunning(u"/autoload");
    ASSERT_TRUE(WaitUntil([&] { return direct.running.load(); }, 500));
    EXPECT_FALSE(Sim().sync.Exists(app::kAutomodeEventName));
    StopInstance();
}

TEST_F(StartupTest, UaRemovesTheRunEntryAndEndsTheRunningInstance) {
    settings::SetStartWithWindows(true);
    EXPECT_EQ(Start(u"/ua"), 1);
    EXPECT_FALSE(settings::IsStartWithWindows());

    FakeHost& first = StartRunning(u"");
    ASSERT_TRUE(WaitUntil([&] { return first.running.load(); }));
    settings::SetStartWithWindows(true);
    EXPECT_EQ(Start(u"/ua"), 1);
    for (auto& t : running_) t.join();
    running_.clear();
    EXPECT_EQ(first.exitRequests, 1);
    EXPECT_FALSE(settings::IsStartWithWindows());
}

TEST_F(StartupTest, HelpAndEditAreAnsweredWithoutANewInstance) {
    EXPECT_EQ(Start(u"/?"), 0);
    auto boxes = Sim().ui.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, app::KeyHelpText());
    EXPECT_EQ(boxes[0].caption, u"Wordlark");
    EXPECT_EQ(boxes[0].owner, platform::MessageOwner::Desktop);
    EXPECT_EQ(boxes[0].icon, platform::MessageIcon::Information);

    FakeHost& first = StartRunning(u"");
    ASSERT_TRUE(WaitUntil([&] { return first.running.load(); }));
    EXPECT_EQ(Start(u"/edit"), 0);
    EXPECT_TRUE(Sim().sync.IsSet(app::kEditorRequestEventName));
    EXPECT_EQ(first.alreadyRunningNotices, 0);
    StopInstance();
}

TEST_F(StartupTest, NoInstanceEventMeansExitCodeTwo) {
    Sim().sync.failCreate = true;
    FakeHost& host = NewHost();
    EXPECT_EQ(Start(u"", host), app::kExitNoInstanceEvent);
    EXPECT_FALSE(host.running);
}

TEST_F(StartupTest, ElevatedStartTakesOverFromTheFirstInstance) {
    std::atomic<int> firstExit{-1};
    FakeHost& first = StartRunning(u"", &firstExit);
    ASSERT_TRUE(WaitUntil([&] { return first.running.load(); }));

    bool closed = false;
    ASSERT_TRUE(app::RunAsAdministrator(1, [&] { closed = true; }));
    EXPECT_TRUE(closed);
    auto calls = Sim().ui.ShellCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].verb, u"runas");
    EXPECT_EQ(calls[0].file, u"C:\\Program Files\\Wordlark\\Wordlark.exe");
    EXPECT_EQ(calls[0].parameters, u"/asadmin");
    EXPECT_EQ(calls[0].directory, u"C:\\Program Files\\Wordlark\\");

    // The elevated start asks the first to end and waits for the hand-over.
    FakeHost& elevated = StartRunning(u"/asadmin");
    ASSERT_TRUE(WaitUntil([&] { return elevated.running.load(); }));
    EXPECT_EQ(first.exitRequests, 1);
    EXPECT_FALSE(first.running);
    EXPECT_EQ(LogText().find("Cannot wait event"), std::string::npos);
    StopInstance();
    EXPECT_EQ(firstExit, 0);
}

TEST_F(StartupTest, ElevatedStartWithoutHandOverLogsTheErrorAndRuns) {
    FakeHost& elevated = StartRunning(u"/asadmin");
    ASSERT_TRUE(WaitUntil([&] { return elevated.running.load(); }));
    EXPECT_TRUE(
        Logged("] ERROR: Cannot wait event from first instance\n\nError Code: 2\n"
               "File not found.\r\n"));
    StopInstance();
}

TEST_F(StartupTest, FailedElevationReleasesTheHandOverAndTellsTheUser) {
    Sim().ui.shellResult = 5;
    bool closed = false;
    EXPECT_FALSE(app::RunAsAdministrator(1, [&] { closed = true; }));
    EXPECT_FALSE(closed);
    EXPECT_FALSE(Sim().sync.Exists(app::kAdminHandOverEventName));
    auto boxes = Sim().ui.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Cannot start second instance of Wordlark");
    EXPECT_EQ(boxes[0].icon, platform::MessageIcon::Warning);

    Sim().sync.failCreate = true;
    EXPECT_FALSE(app::RunAsAdministrator(1, [] {}));
    EXPECT_EQ(Sim().ui.MessageBoxes().back().text, u"Cannot create event for admin instance");
}

}  // namespace
}  // namespace wlk::test
