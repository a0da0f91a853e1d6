// The simulated profile keeps each parsed file between calls, so that a
// settings load or save does not parse the file for every key; whatever it
// answers must still be what a fresh read of the file gives. A run of writes
// is held in memory, and must be in the file before anyone else looks.
#include "platform/sim/sim_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace wlk::test {
namespace {

using platform::sim::SimFileSystem;
using platform::sim::SimProfile;
using namespace std::string_literals;

const Text kFile = u"C:\\p.ini";

class SimProfileTest : public ::testing::Test {
protected:
    // Every key below, read by the profile that keeps files and by one that
    // reads the file for the first time.
    void ExpectAsReadAfresh() {
        SimProfile fresh(files_);
        for (const auto& [section, key] : keys_)
            EXPECT_EQ(profile_.GetString(kFile, section, key, u"<none>", 64),
                      fresh.GetString(kFile, section, key, u"<none>", 64))
                << ToUtf8(section) << "/" << ToUtf8(key);
    }
    void Write(const Text& section, const Text& key, const std::optional<Text>& value) {
        ASSERT_TRUE(profile_.WriteString(kFile, section, key, value));
        ExpectAsReadAfresh();
    }

    SimFileSystem files_;
    SimProfile profile_{files_};
    std::vector<std::pair<Text, Text>> keys_ = {
        {u"S", u"k"}, {u"S", u"trail"}, {u"S", u"[x"},           {u"New", u"a"},
        {u"", u"a"},  {u"", u"b"},      {u"", u"\u00FF\u00FEb"},
    };
};

TEST_F(SimProfileTest, WritesReadBackAsTheFileHoldsThem) {
    files_.Put(kFile, "[S]\r\nk=1\r\n");
    Write(u"S", u"k", u"2");
    Write(u"S", u"trail", u"v  ");  // the blanks go when the file is read
    Write(u"S", u"[x", u"]");       // a line that reads as a header
    Write(u"New", u"a", u"b");
    Write(u"S", u"k", std::nullopt);
}

TEST_F(SimProfileTest, ALineThatGoesMayLeaveAByteOrderMarkFirst) {
    // A line holding only a NUL is written back empty, and is gone when read.
    files_.Put(kFile, "\0\r\n\xFF\xFE\x62=2\r\n"s);
    Write(u"S", u"k", u"1");
    Write(u"S", u"k", u"3");
    files_.Put(kFile, "a=1\r\n\xFF\xFE\x62=2\r\na=3\r\n");
    Write(u"S", u"k", u"1");
    Write(u"", u"a", std::nullopt);  // the second "a" is as it was
}

TEST_F(SimProfileTest, AFileChangedByOtherMeansIsReadAgain) {
    Write(u"S", u"k", u"1");
    files_.Put(kFile, "[S]\r\nk=2\r\n");
    EXPECT_EQ(profile_.GetString(kFile, u"S", u"k", u"", 16), u"2");
    ASSERT_TRUE(files_.DeleteFile(kFile));
    EXPECT_EQ(profile_.GetString(kFile, u"S", u"k", u"gone", 16), u"gone");
}

TEST_F(SimProfileTest, HeldWritesAreInTheFileBeforeAnyoneLooks) {
    Write(u"S", u"k", u"1");
    ASSERT_TRUE(profile_.WriteString(kFile, u"S", u"k", u"2"));
    EXPECT_EQ(files_.ReadAll(kFile), "[S]\r\nk=2\r\n");
    // Under another spelling of its name, the file is the same one.
    ASSERT_TRUE(profile_.WriteString(kFile, u"S", u"k", u"3"));
    ASSERT_TRUE(profile_.WriteString(u"c:\\P.INI", u"S", u"a", u"4"));
    EXPECT_EQ(files_.ReadAll(kFile), "[S]\r\nk=3\r\na=4\r\n");
    // Refused writes are refused at once, after the held ones went down.
    ASSERT_TRUE(profile_.WriteString(kFile, u"S", u"k", u"5"));
    files_.DenyWrites(kFile);
    EXPECT_FALSE(profile_.WriteString(kFile, u"S", u"k", u"6"));
    EXPECT_EQ(profile_.GetString(kFile, u"S", u"k", u"", 16), u"5");
}

}  // namespace
}  // namespace wlk::test
