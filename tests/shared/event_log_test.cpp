// The log file as the real file functions write it: byte order mark, line
// ends, appending, and the stamp.
#include "log/event_log.h"

#include <regex>

#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

class EventLogTest : public PlatformTest {
protected:
    void TearDown() override {
        log().Close();
        PlatformTest::TearDown();
    }
    log::EventLog& log() { return log::EventLog::Instance(); }
    std::string LogText(const Text& path) { return Utf16ToUtf8(Bytes(path)); }
    // Writes one message and waits until its writer thread has appended it.
    void WriteAndWait(const Text& path, const Text& message) {
        size_t before = Bytes(path).size();
        log().Write(message);
        ASSERT_TRUE(WaitUntil([&] { return Bytes(path).size() > before; }));
    }
};

TEST_F(EventLogTest, CreatesFileWithBomThenAppendsStampedLines) {
    Text path = Path("LogReport.txt");
    ASSERT_TRUE(log().Open(path));
    WriteAndWait(path, u"first line");
    WriteAndWait(path, u"ends with its own break\r\n");
    log().SetSourceTag(u"HOOK");
    WriteAndWait(path, u"tagged");
    log().ClearSourceTag();

    std::string bytes = Bytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), kBom16);
    EXPECT_EQ(bytes.find(kBom16, 2), std::string::npos) << "only one byte order mark";
    std::regex expected(
        "\xEF\xBB\xBF"
        "EXE_Agent: \\[\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\] first line\r\n"
        "EXE_Agent: \\[\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\] ends with its own break\r\n"
        "HOOK: \\[\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\] tagged\r\n");
    EXPECT_TRUE(std::regex_match(LogText(path), expected)) << LogText(path);
}

TEST_F(EventLogTest, ClosedLogWritesNothingAndOpenTwiceKeepsFirstPath) {
    Text first = Path("first.txt");
    Text second = Path("second.txt");
    log().Write(u"while closed");
    ASSERT_TRUE(log().Open(first));
    EXPECT_FALSE(log().Open(second));
    WriteAndWait(first, u"after open");
    EXPECT_NE(LogText(first).find("after open"), std::string::npos);
    EXPECT_EQ(LogText(first).find("while closed"), std::string::npos);
    EXPECT_EQ(P().files.Kind(second), platform::PathKind::Missing);

    log().Close();
    EXPECT_FALSE(log().IsOpen());
    ASSERT_TRUE(log().Open(second));
    EXPECT_TRUE(log().IsOpen());
}

TEST_F(EventLogTest, VeryLongMessageIsWrittenWithoutStamp) {
    Text path = Path("long.txt");
    ASSERT_TRUE(log().Open(path));
    Text message(102399, u'x');
    WriteAndWait(path, message);
    std::string text = LogText(path);
    EXPECT_EQ(text, "\xEF\xBB\xBF" + std::string(102399, 'x') + "\r\n");
}

TEST_F(EventLogTest, ErrorsAndTaggedLinesCarryTheirPrefixes) {
    Text path = Path("errors.txt");
    ASSERT_TRUE(log().Open(path));
    WriteAndWait(path, u"placeholder");
    size_t before = Bytes(path).size();
    log().WriteError(u"disk full");
    ASSERT_TRUE(WaitUntil([&] { return Bytes(path).size() > before; }));
    before = Bytes(path).size();
    log().WriteTagged(u"hello", u"Editor");
    ASSERT_TRUE(WaitUntil([&] { return Bytes(path).size() > before; }));
    std::string text = LogText(path);
    EXPECT_NE(text.find("] ERROR: disk full\r\n"), std::string::npos);
    EXPECT_NE(text.find("] Editor: hello\r\n"), std::string::npos);
}

}  // namespace
}  // namespace wlk::test
