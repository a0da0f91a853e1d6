// The log file as the real file functions write it: one byte order mark, line
// breaks, appending, source tags and prefixes.
#include "log/event_log.h"

#include "support/log_entries.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

class EventLogTest : public PlatformTest {
protected:
    void TearDown() override {
        log().Close();
        log().ClearSourceTag();
        PlatformTest::TearDown();
    }
    log::EventLog& log() { return log::EventLog::Instance(); }
};

TEST_F(EventLogTest, CreatesFileWithOneBomThenAppendsTaggedLinesAndKeepsItsFirstPath) {
    Text path = Path("LogReport.txt");
    Text other = Path("other.txt");
    log().Write(u"while closed");
    ASSERT_TRUE(log().Open(path));
    EXPECT_FALSE(log().Open(other));
    // Each line goes to a writer thread of its own; they still land in this order.
    log().Write(u"first line");
    log().Write(u"ends with its own break\r\n");
    log().SetSourceTag(u"HOOK");
    log().Write(u"tagged");
    log().ClearSourceTag();
    log().WriteError(u"disk full");
    log().WriteTagged(u"hello", u"Editor");
    std::vector<LogEntry> expected = {{"EXE_Agent", "first line"},
                                      {"EXE_Agent", "ends with its own break"},
                                      {"HOOK", "tagged"},
                                      {"EXE_Agent", "ERROR: disk full"},
                                      {"EXE_Agent", "Editor: hello"}};
    EXPECT_TRUE(WaitUntil([&] { return LogEntries(Bytes(path)).size() >= expected.size(); }));

    std::string bytes = Bytes(path);
    EXPECT_EQ(bytes.substr(0, 2), kBom16);
    EXPECT_EQ(Utf16ToUtf8(bytes.substr(2)).find("\xEF\xBB\xBF"), std::string::npos)
        << "only one byte order mark";
    EXPECT_EQ(LogEntries(bytes), expected);
    EXPECT_EQ(P().files.Kind(other), platform::PathKind::Missing);

    log().Close();
    EXPECT_TRUE(log().Open(other));
}

}  // namespace
}  // namespace wlk::test
