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
    // Writes one entry and waits until its writer thread has appended it.
    void WriteAndWait(const Text& path, const std::function<void()>& write) {
        size_t before = Bytes(path).size();
        write();
        ASSERT_TRUE(WaitUntil([&] { return Bytes(path).size() > before; }));
    }
};

TEST_F(EventLogTest, CreatesFileWithOneBomThenAppendsTaggedLinesAndKeepsItsFirstPath) {
    Text path = Path("LogReport.txt");
    Text other = Path("other.txt");
    log().Write(u"while closed");
    ASSERT_TRUE(log().Open(path));
    EXPECT_FALSE(log().Open(other));
    WriteAndWait(path, [&] { log().Write(u"first line"); });
    WriteAndWait(path, [&] { log().Write(u"ends with its own break\r\n"); });
    log().SetSourceTag(u"HOOK");
    WriteAndWait(path, [&] { log().Write(u"tagged"); });
    log().ClearSourceTag();
    WriteAndWait(path, [&] { log().WriteError(u"disk full"); });
    WriteAndWait(path, [&] { log().WriteTagged(u"hello", u"Editor"); });

    std::string bytes = Bytes(path);
    EXPECT_EQ(bytes.substr(0, 2), kBom16);
    EXPECT_EQ(Utf16ToUtf8(bytes.substr(2)).find("\xEF\xBB\xBF"), std::string::npos)
        << "only one byte order mark";
    std::vector<LogEntry> expected = {{"EXE_Agent", "first line"},
                                      {"EXE_Agent", "ends with its own break"},
                                      {"HOOK", "tagged"},
                                      {"EXE_Agent", "ERROR: disk full"},
                                      {"EXE_Agent", "Editor: hello"}};
    EXPECT_EQ(LogEntries(bytes), expected);
    EXPECT_EQ(P().files.Kind(other), platform::PathKind::Missing);

    log().Close();
    EXPECT_FALSE(log().IsOpen());
    EXPECT_TRUE(log().Open(other));
}

}  // namespace
}  // namespace wlk::test
