// Event log behaviour that needs the simulated platform: chosen paths, a
// stuck writer, failures and the fault report.
#include "log/event_log.h"
#include "log/log_line.h"
#include "platform/text.h"
#include "support/log_entries.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

class EventLogUnitTest : public PlatformTest {
protected:
    void TearDown() override {
        log().Close();
        log().ClearSourceTag();
        PlatformTest::TearDown();
    }
    log::EventLog& log() { return log::EventLog::Instance(); }
    std::vector<LogEntry> Entries(const Text& path) { return LogEntries(Bytes(path)); }
    Text OpenLog() {
        Text path = Path("log.txt");
        EXPECT_TRUE(log().Open(path));
        return path;
    }
    const Text programDir = u"C:\\Program Files\\Wordlark\\";
};

TEST_F(EventLogUnitTest, LineLayout) {
    platform::LocalTime t{2026, 3, 0, 7, 9, 5, 4, 0};
    EXPECT_EQ(log::BuildLine(u"EXE_Agent", u"hi", t), u"EXE_Agent: [03/07/26 09:05:04] hi");
}

TEST_F(EventLogUnitTest, LogPathBesideProgramUnlessItCannotBeWrittenOrOnAUsbStick) {
    Sim().files.Put(programDir + u"Wordlark.exe", "MZ");
    EXPECT_EQ(log().LogPath(), programDir + u"LogReport.txt");
    Sim().files.DenyWrites(programDir);
    EXPECT_EQ(log().LogPath(), u"C:\\Users\\sim\\AppData\\Roaming\\LogReport_Wordlark.txt");

    // From a USB stick the log stays beside the program even when it cannot be written.
    Sim().system.programPath = u"E:\\Wordlark\\Wordlark.exe";
    Sim().files.SetDriveType(u'E', platform::DriveType::Removable);
    Sim().files.DenyWrites(u"E:\\Wordlark");
    EXPECT_EQ(log().LogPath(), u"E:\\Wordlark\\LogReport.txt");
}

TEST_F(EventLogUnitTest, OpenPublishesItsObjectsALineWaitsForTheMutexAndCloseRemovesThem) {
    Text path = Path("log.txt");
    Sim().sync.failCreate = true;
    EXPECT_FALSE(log().Open(path));
    EXPECT_FALSE(Sim().system.HasAtom(path) || log().IsOpen());
    Sim().sync.failCreate = false;
    ASSERT_TRUE(log().Open(path));
    EXPECT_TRUE(Sim().system.HasAtom(path));
    EXPECT_TRUE(Sim().sync.IsSet(log::kSyncEventName));
    EXPECT_EQ(Sim().sync.SecurityOf(log::kSyncEventName), platform::Security::Everyone);
    EXPECT_EQ(Sim().sync.SecurityOf(log::kAppendMutexName), platform::Security::Everyone);

    // Another process holds the append mutex.
    auto other = P().sync.CreateMutex(log::kAppendMutexName, platform::Security::Everyone);
    ASSERT_TRUE(other->Acquire(0));
    log().Write(u"after the other");
    ASSERT_TRUE(WaitUntil([] { return Sim().sync.MutexWaiters(log::kAppendMutexName) == 1; }));
    EXPECT_EQ(P().files.Kind(path), platform::PathKind::Missing);
    EXPECT_TRUE(Sim().sync.IsSet(log::kSyncEventName)) << "the event is taken only with the mutex";
    ASSERT_TRUE(other->Release());
    Sim().threads.WaitIdle();
    EXPECT_EQ(Entries(path), (std::vector<LogEntry>{{"EXE_Agent", "after the other"}}));
    EXPECT_TRUE(other->Acquire(0)) << "the writer let the mutex go";
    other->Release();
    other.reset();

    log().Close();
    EXPECT_FALSE(Sim().system.HasAtom(path));
    EXPECT_FALSE(Sim().sync.Exists(log::kSyncEventName));
    EXPECT_FALSE(Sim().sync.Exists(log::kAppendMutexName));
}

// (A writer thread that cannot start loses its line alone: see the order test below.)
TEST_F(EventLogUnitTest, StuckWriterIsBrokenAfterFiveSecondsAndAFailedWriteDropsItsLine) {
    Text path = OpenLog();
    // Another process holds the log and never lets go.
    auto other = P().sync.OpenEvent(log::kSyncEventName, platform::EventAccess::ModifyState);
    other->Reset();
    log().Write(u"waits in vain");
    Sim().threads.WaitIdle();
    EXPECT_EQ(P().files.Kind(path), platform::PathKind::Missing);
    EXPECT_TRUE(Sim().sync.IsSet(log::kSyncEventName));
    log().Write(u"written again");
    Sim().threads.WaitIdle();
    const std::vector<LogEntry> written{{"EXE_Agent", "written again"}};
    EXPECT_EQ(Entries(path), written);

    // A file that cannot be written loses the line silently and frees the log.
    Sim().files.DenyWrites(Dir());
    log().Write(u"no file");
    Sim().threads.WaitIdle();
    EXPECT_EQ(Entries(path), written);
    EXPECT_TRUE(Sim().sync.IsSet(log::kSyncEventName));
}

TEST_F(EventLogUnitTest, ReportExceptionLogsTheNamedCodeAndShowsItInATopmostBox) {
    Text path = OpenLog();
    log().ReportException(u"Crash: on IDataNeededHander_MenuSelf::CleanupMenu", 0xC0000005);
    log().ReportException(u"ctx", 0x1234);
    Sim().threads.WaitIdle();
    std::vector<LogEntry> expected = {
        {"EXE_Agent",
         "ERROR: Crash: on IDataNeededHander_MenuSelf::CleanupMenu "
         "GetExceptionCode=3221225477 status=[EXCEPTION_ACCESS_VIOLATION]"},
        {"EXE_Agent", "ERROR: ctx GetExceptionCode=4660 status=[Not found]"}};
    EXPECT_EQ(Entries(path), expected);
    auto boxes = Sim().ui.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    const auto& box = boxes[1];
    EXPECT_EQ(std::tie(box.text, box.caption, box.icon, box.topmost, box.owner),
              std::tuple(Text(u"ctx GetExceptionCode=4660 status=[Not found]"), Text(u"Wordlark"),
                         platform::MessageIcon::Error, true, platform::MessageOwner::None));
}

TEST_F(EventLogUnitTest, LinesOfOneProcessKeepTheirOrderEvenWhenAThreadFailsToStart) {
    Text path = OpenLog();
    std::vector<LogEntry> expected;
    for (int i = 0; i < 40; ++i) {
        // Line 7 finds no writer running and none can start: it is lost, the
        // others still follow.
        if (i == 7) {
            log().WaitForWriters(10000);
            Sim().threads.WaitIdle();
        }
        Sim().threads.failStart = i == 7;
        log().Write(u"line " + ToText(i));
        if (i != 7) expected.push_back({"EXE_Agent", "line " + std::to_string(i)});
    }
    Sim().threads.failStart = false;
    log().WaitForWriters(10000);
    Sim().threads.WaitIdle();
    EXPECT_EQ(Entries(path), expected);
}

}  // namespace
}  // namespace wlk::test
