// The hook service against a library made of this file's own functions: what
// installation hands the library and reports, removal, and the two roads a
// request for the target context takes.
#include "bridge/dll_service.h"

#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/target_requests.h"
#include "bridge/install_report.h"
#include "bridge/interchange.h"
#include "hook/install_params.h"
#include "platform/text.h"
#include "support/log_entries.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using bridge::CWLKDLLService;
using bridge::QueryResult;
using bridge::TargetContext;

// Values joined into one comparable line.
template <typename... Values>
std::string Joined(const Values&... values) {
    std::ostringstream out;
    ((out << values << '|'), ...);
    return out.str();
}

constexpr char16_t kLibraryPath[] = u"C:\\Program Files\\Wordlark\\Wordlark.dll";
constexpr uint32_t kQueryMessage = 0xC123;
constexpr platform::WindowId kTray = 0x10010;
constexpr platform::WindowId kTarget = 0x20020;

// What the fake library is told to answer and what it saw.
struct FakeHook {
    int installResult = 1;
    uint32_t resultCode = 0;
    int uninstallResult = 1;
    platform::WindowId target = kTarget;
    int targetCalls = 0;
    hook::InstallParams seen;
    Text queryName, answerName, areaName, logPath;
};
FakeHook g_hook;

Text TextAt(uint64_t address) {
    return address ? Text(reinterpret_cast<const char16_t*>(address)) : Text(u"<null>");
}

int FakeInstall(hook::InstallParams* params) {
    g_hook.seen = *params;
    // Read during the call: the log path is only valid until it returns.
    g_hook.queryName = TextAt(params->queryEventName);
    g_hook.answerName = TextAt(params->answerEventName);
    g_hook.areaName = TextAt(params->areaName);
    g_hook.logPath = TextAt(params->logPath);
    params->resultCode = g_hook.resultCode;
    return g_hook.installResult;
}
int FakeUninstall() {
    return g_hook.uninstallResult;
}
platform::WindowId FakeTargetWindow() {
    ++g_hook.targetCalls;
    return g_hook.target;
}

template <typename F>
platform::ProcAddress Export(F* function) {
    return reinterpret_cast<platform::ProcAddress>(function);
}

platform::sim::SimLibraries::Exports AllExports() {
    return {{"LK_Install", Export(&FakeInstall)},
            {"LK_Uninstall", Export(&FakeUninstall)},
            {"LK_GetTargetWindow", Export(&FakeTargetWindow)}};
}

class DllServiceTest : public LoggedTest {
protected:
    void SetUp() override {
        LoggedTest::SetUp();
        g_hook = FakeHook();
        Sim().libraries.Register(kLibraryPath, AllExports());
    }
    bool Install(CWLKDLLService& service, uint32_t& code, bool writeLog = false,
                 bool answers = false) {
        return service.InstallDLLService_IML_32(
            kTray, bridge::kQueryEventName, bridge::kAnswerEventName, bridge::kInterchangeAreaName,
            writeLog, code, answers);
    }
    // A notepad-like target: its process, thread and keyboard layout.
    void AddTarget(const Text& className) {
        Sim().ui.windows[kTarget] = className;
        Sim().targets.owners[kTarget] = {4242, 77};
        Sim().targets.processes[4242] = {u"notepad.exe", u"C:\\Windows\\notepad.exe"};
        Sim().targets.layouts[77] = 0x04190419;
    }
    // The log's entries once everything reached it (`readLog` waits for that).
    std::vector<LogEntry> Messages(const std::function<std::string()>& readLog) {
        readLog();
        return LogEntries(Bytes(Path("LogReport.txt")));
    }
    // Each case of a table starts on a fresh platform, library and log.
    void StartCase() {
        TearDown();
        SetUp();
    }
    CWLKDLLService service_{kQueryMessage, [](platform::WindowId) { return Text(); }};
};

TEST_F(DllServiceTest, FailedInstallationsGiveTheirCodeOneErrorLineAndLeaveNothingLoaded) {
    struct Case {
        const char* name;
        std::function<void(CWLKDLLService&)> arrange;
        uint32_t code;
        std::string line;
        int loads;  // how often the library was loaded in all
    };
    const std::vector<Case> cases = {
        {"second installation",
         [this](CWLKDLLService& s) {
             uint32_t first = 99;
             ASSERT_TRUE(Install(s, first));
             EXPECT_EQ(first, 0u);
         },
         2, "ERROR: InstallDLLService_IML_32::DLL service already installed", 1},
        {"no library",
         [](CWLKDLLService&) { Sim().system.programPath = u"D:\\Elsewhere\\Wordlark.exe"; }, 4,
         "ERROR: Cannot load DLL by D:\\Elsewhere\\Wordlark.dll", 0},
        {"hook refused",
         [](CWLKDLLService&) {
             g_hook.installResult = 0;
             g_hook.resultCode = 3;
         },
         3, "", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartCase();
        auto readLog = OpenLog();
        CWLKDLLService service(kQueryMessage, nullptr);
        c.arrange(service);
        uint32_t code = 0;
        EXPECT_FALSE(Install(service, code));
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(Sim().libraries.Loads(kLibraryPath), c.loads);
        const bool stillInstalled = c.code == 2;
        EXPECT_EQ(service.IsInstalled(), stillInstalled);
        EXPECT_EQ(Sim().libraries.Loaded(kLibraryPath), stillInstalled ? 1 : 0);
        std::vector<LogEntry> expected;
        if (!c.line.empty()) expected.push_back({"EXE_Agent", c.line});
        EXPECT_EQ(Messages(readLog), expected);
    }
}

TEST_F(DllServiceTest, ReportNamesThePathWhetherTheFileIsThereAndTheCodesWording) {
    EXPECT_EQ(bridge::InstallErrorReport(kLibraryPath, true, 3),
              u"ERROR: Cannot kernel DLL install\nDLL path: C:\\Program Files\\Wordlark\\"
              u"Wordlark.dll\nCant install hook\nError code: 3");
    EXPECT_EQ(bridge::InstallErrorReport(u"D:\\w\\Wordlark.dll", false, 4),
              u"ERROR: Cannot kernel DLL install\nDLL not found: D:\\w\\Wordlark.dll\n"
              u"Cant load DLL\nError code: 4");
}

TEST_F(DllServiceTest, InstallBlockCarriesWindowMessageNamesAndTheLogOnlyWhenLogging) {
    auto readLog = OpenLog();
    for (bool writeLog : {false, true}) {
        SCOPED_TRACE(writeLog);
        CWLKDLLService service(kQueryMessage, nullptr);
        uint32_t code = 99;
        ASSERT_TRUE(Install(service, code, writeLog, writeLog));
        EXPECT_EQ(code, 0u);
        // Fields of the packed block are copied out before comparing (a
        // reference to one may be misaligned); the result code is the one on entry.
        const hook::InstallParams& seen = g_hook.seen;
        const int atom = log::EventLog::Instance().PathAtom();
        EXPECT_NE(atom, 0);
        EXPECT_EQ(
            Joined(uint64_t(seen.trayWindow), uint32_t(seen.queryRequestMessage),
                   ToUtf8(g_hook.queryName), ToUtf8(g_hook.answerName), ToUtf8(g_hook.areaName),
                   uint32_t(seen.resultCode), uint64_t(seen.reserved1 | seen.reserved2),
                   ToUtf8(g_hook.logPath), int(seen.logAtom), uint32_t(seen.answersExpected)),
            Joined(uint64_t(kTray), kQueryMessage, "Local\\Wordlark_DataNeeded",
                   "Local\\Wordlark_DataCompleted", "Local\\$WORDLARK_INTERCHANGE_AREA$", 0u,
                   uint64_t(0), writeLog ? ToUtf8(Path("LogReport.txt")) : "<null>",
                   writeLog ? atom : 0, writeLog ? 1u : 0u));
        EXPECT_TRUE(service.Uninstall());
    }
}

TEST_F(DllServiceTest, RemovalLetsTheLibraryGoOnlyWhenTheHookWasRemoved) {
    EXPECT_FALSE(service_.Uninstall());  // not installed
    uint32_t code = 0;
    ASSERT_TRUE(Install(service_, code));
    EXPECT_EQ(service_.GetTargetWindow(), kTarget);

    g_hook.uninstallResult = 0;
    EXPECT_FALSE(service_.Uninstall());
    EXPECT_TRUE(service_.IsInstalled());
    EXPECT_EQ(Sim().libraries.Loaded(kLibraryPath), 1);
    EXPECT_TRUE(Sim().ui.Broadcasts().empty());

    g_hook.uninstallResult = 1;
    EXPECT_TRUE(service_.Uninstall());
    EXPECT_FALSE(service_.IsInstalled());
    EXPECT_EQ(Sim().libraries.Loaded(kLibraryPath), 0);
    auto broadcasts = Sim().ui.Broadcasts();
    ASSERT_EQ(broadcasts.size(), 1u);
    const auto& b = broadcasts[0];
    EXPECT_EQ(std::tuple(b.flags, b.message, b.wParam, b.lParam), std::tuple(0x90u, 0u, 0u, 0));
    EXPECT_EQ(service_.GetTargetWindow(), 0u);
    EXPECT_EQ(g_hook.targetCalls, 1) << "a removed library is not asked";
}

TEST_F(DllServiceTest, RequestGoesThroughTheHookOrFillsTheContextWhereTheHookCannotReach) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* selection;
        QueryResult result;
        std::string roadLine;
    };
    const std::vector<Case> cases = {
        {"no target", [] { g_hook.target = 0; }, "", QueryResult::NotSent,
         "ERROR: Cannot sendmessage to target window CWLKDLLService::SendMessageToTargetWindow"},
        {"hook road", [] {}, "sel", QueryResult::Requested,
         "Target reached through the hook component"},
        {"program under WOW64", [] { Sim().targets.programWow64 = true; }, "Hello",
         QueryResult::ContextReady, "Target context filled directly: program runs under WOW64"},
        {"console", [] { Sim().ui.windows[kTarget] = u"ConsoleWindowClass"; }, "dir",
         QueryResult::ContextReady, "Target context filled directly: console window"},
        {"elevated", [] { Sim().targets.processes[4242].openable = false; }, "",
         QueryResult::ContextReady,
         "Target context filled directly: target process cannot be opened"},
        {"32-bit target", [] { Sim().targets.processes[4242].wow64 = true; }, "x",
         QueryResult::ContextReady, "Target context filled directly: 32-bit target process"},
        {"password box",
         [] {
             Sim().targets.processes[4242].wow64 = true;
             Sim().targets.secrets.insert(kTarget);
         },
         "hunter2", QueryResult::ContextReady,
         "Target context filled directly: 32-bit target process"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartCase();
        AddTarget(u"Notepad");
        std::vector<platform::WindowId> asked;
        CWLKDLLService caseService(kQueryMessage, [&](platform::WindowId window) {
            asked.push_back(window);
            return Text(T(c.selection));
        });
        c.arrange();
        uint32_t code = 0;
        ASSERT_TRUE(Install(caseService, code));
        auto readLog = OpenLog();
        TargetContext context;
        EXPECT_EQ(caseService.SendMessageToTargetWindow(1, context), c.result);
        std::vector<LogEntry> expected = {{"EXE_Agent", c.roadLine}};
        if (c.result == QueryResult::Requested)
            expected.push_back({"EXE_Agent", "Sending message by PostMessage bRet=1"});
        auto entries = Messages(readLog);
        const size_t blockLines = 7;  // the diagnostic block comes first
        ASSERT_GE(entries.size(), blockLines);
        EXPECT_EQ(std::vector<LogEntry>(entries.begin() + blockLines, entries.end()), expected);
        std::vector<std::string> messages;
        for (const auto& m : Sim().ui.Messages())
            messages.push_back(Joined(m.posted, m.window, m.message, m.wParam, m.lParam));
        EXPECT_EQ(messages,
                  c.result == QueryResult::Requested
                      ? std::vector<std::string>{Joined(true, kTarget, kQueryMessage, 1u, 0)}
                      : std::vector<std::string>{});
        const bool direct = c.result == QueryResult::ContextReady;
        // A password box is never copied from.
        const bool secret = Sim().targets.secrets.contains(kTarget);
        EXPECT_EQ(asked, direct && !secret ? std::vector<platform::WindowId>{kTarget}
                                           : std::vector<platform::WindowId>{});
        EXPECT_EQ(Joined(context.HWND, ToUtf8(context.SelText), context.StateSelText,
                         ToUtf8(context.AppPath), context.HKL, ToUtf8(context.WindowClassName),
                         context.POINT_X),
                  !direct  ? Joined(0, "", 0, "", 0, "", -1)
                  : secret ? Joined(kTarget, "", 3, "notepad.exe", 0x04190419u, "Notepad", -1)
                           : Joined(kTarget, c.selection, *c.selection ? 2 : 1, "notepad.exe",
                                    0x04190419u, ToUtf8(Sim().ui.windows[kTarget]), -1));
    }
}

// Records what reaches the phrase menu's place; `whileOpen` runs as if the
// menu stayed open meanwhile.
class RecordingHandler final : public bridge::IDataNeededHander {
public:
    void CleanupMenu() override {}
    bool HonoursLayoutMacros() override { return true; }
    bool IsMenuShown() override { return false; }
    void OnDataNeeded(const TargetContext& context, bridge::QueryAnswer&) override {
        if (whileOpen) whileOpen();
        received.push_back(ToUtf8(context.AppPath) + "|" + ToUtf8(context.SelText));
    }
    bool ProvidesAnswers() override { return false; }
    std::vector<std::string> received;
    std::function<void()> whileOpen;
};

// The waiting thread gives up its send after two seconds and reuses its
// records, while the menu they opened may stay open for minutes; a query that
// arrives meanwhile (a busy target answering twice, another process writing
// the area) must not build a second menu inside the open one.
TEST_F(DllServiceTest, EachPressGetsOneContextAndAnOpenMenuDropsWhatArrivesMeanwhile) {
    AddTarget(u"Edit");
    CWLKDLLService service(kQueryMessage, [](platform::WindowId) { return Text(u"copied"); });
    bridge::QueryService queries;
    RecordingHandler handler;
    int closed = 0;
    app::ModalLoops loops([&closed] { ++closed; });
    app::TargetRequests requests(service, queries, loops);
    requests.Attach(kTray, &handler);
    uint32_t code = 0;
    ASSERT_TRUE(Install(service, code));
    auto readLog = OpenLog();

    // The hook stays silent: the timer fills the context, a late query is dropped.
    EXPECT_EQ(requests.Request(0), QueryResult::Requested);
    EXPECT_EQ(Sim().ui.TimerPeriod(kTray, app::kTimerQueryFallback), 300u);
    Sim().system.tickCount += 300;
    requests.OnFallbackTimer();
    EXPECT_EQ(Sim().ui.TimerPeriod(kTray, app::kTimerQueryFallback), std::nullopt);
    EXPECT_EQ(handler.received, std::vector<std::string>{"notepad.exe|copied"});
    TargetContext sent;
    sent.AppPath = u"C:\\Windows\\notepad.exe";
    bridge::QueryAnswer answer;
    EXPECT_EQ(requests.OnDataNeeded(sent, answer), 0);
    // The next press is answered in time, and its menu stays open while the
    // records are reused for another query.
    sent.SelText = u"first";
    std::vector<intptr_t> meanwhile;
    handler.whileOpen = [&] {
        sent.AppPath = u"reused";
        sent.SelText = u"by the next query";
        meanwhile.push_back(requests.OnDataNeeded(sent, answer));
        meanwhile.push_back(requests.MayCall() ? 1 : 0);
    };
    EXPECT_EQ(requests.Request(0), QueryResult::Requested);
    EXPECT_EQ(requests.OnDataNeeded(sent, answer), 1);
    handler.whileOpen = nullptr;
    requests.OnFallbackTimer();
    EXPECT_EQ(handler.received,
              (std::vector<std::string>{"notepad.exe|copied", "C:\\Windows\\notepad.exe|first"}));
    EXPECT_EQ(meanwhile, (std::vector<intptr_t>{0, 0}));
    EXPECT_TRUE(requests.MayCall()) << "the menu has closed";
    EXPECT_EQ(closed, 0);
    // Any program can write the area: a query no press asked for opens nothing.
    EXPECT_EQ(requests.OnDataNeeded(sent, answer), 0);
    EXPECT_EQ(handler.received.size(), 2u);

    std::vector<std::string> lines;
    for (const LogEntry& entry : Messages(readLog))
        if (entry.message.find("Target context") != std::string::npos ||
            entry.message.find("uery") != std::string::npos ||
            entry.message.find("open") != std::string::npos)
            lines.push_back(entry.message);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "No query from the hook component within 300 ms: target context filled "
                         "directly",
                         "Target context ready 300 ms after the request: window 131104 [Edit] "
                         "of [notepad.exe], selection state 2",
                         "Late query dropped: the target's facts were taken directly",
                         "Target context ready 0 ms after the request: window 0 [] of "
                         "[C:\\Windows\\notepad.exe], selection state 0",
                         "Query dropped: a menu, prompt or message of the program is open",
                         "Phrase menu not called: a menu, prompt or message of the program is "
                         "open",
                         "Unasked query dropped: no press of the hotkey waits for it"}));
}

}  // namespace
}  // namespace wlk::test
