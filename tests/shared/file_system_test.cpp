// Listing, replacing, attributes and creation times, as the real file calls
// do them.
#include <algorithm>

#include "support/test_platform.h"

namespace wlk::test {
namespace {

class FileSystemTest : public PlatformTest {
protected:
    std::vector<Text> Names(const Text& pattern) {
        std::vector<Text> names;
        for (const auto& entry : P().files.List(Dir(), pattern))
            names.push_back(entry.name + (entry.directory ? u"\\" : u""));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileSystemTest, ListsMatchingNamesWithTheirCase) {
    WriteBytes(Path("Russian.lng"), "12345");
    WriteBytes(Path("de.LNG"), "");
    WriteBytes(Path("notes.txt"), "");
    ASSERT_TRUE(P().files.CreateDirectory(Path("Group"), platform::Security::Default));
    EXPECT_EQ(Names(u"*.lng"), (std::vector<Text>{u"Russian.lng", u"de.LNG"}));
    EXPECT_EQ(Names(u"*.*"), Names(u"*"));
    EXPECT_EQ(Names(u"*"),
              (std::vector<Text>{u"Group\\", u"Russian.lng", u"de.LNG", u"notes.txt"}));
    auto entries = P().files.List(Dir(), u"Russian.lng");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 5u);
    EXPECT_TRUE(P().files.List(Path("missing"), u"*").empty());
}

TEST_F(FileSystemTest, CreateNewNeverTakesAnExistingName) {
    auto first = P().files.CreateNew(Path("1.txt"), platform::Security::Default);
    ASSERT_TRUE(first);
    first->Write("a", 1);
    first.reset();
    EXPECT_FALSE(P().files.CreateNew(Path("1.txt"), platform::Security::Default));
    EXPECT_EQ(Bytes(Path("1.txt")), "a");
}

TEST_F(FileSystemTest, ReplaceSwapsInTheNewFileButNotOverAReadOnlyOne) {
    WriteBytes(Path("phrase.wordlark"), "old");
    WriteBytes(Path("phrase.tmp"), "new");
    ASSERT_TRUE(P().files.Replace(Path("phrase.tmp"), Path("phrase.wordlark")));
    EXPECT_EQ(Bytes(Path("phrase.wordlark")), "new");
    EXPECT_EQ(P().files.Kind(Path("phrase.tmp")), platform::PathKind::Missing);

    WriteBytes(Path("phrase.tmp"), "newer");
    ASSERT_TRUE(P().files.SetReadOnly(Path("phrase.wordlark"), true));
    EXPECT_TRUE(P().files.IsReadOnly(Path("phrase.wordlark")));
    // Wine run by root keeps the attribute but writes through it, as root may
    // write any file; Windows refuses.
    if (IsSimulated()) {
        EXPECT_FALSE(P().files.Replace(Path("phrase.tmp"), Path("phrase.wordlark")));
        EXPECT_FALSE(P().files.OpenForAppend(Path("phrase.wordlark")));
        EXPECT_EQ(Bytes(Path("phrase.wordlark")), "new");
    }
    ASSERT_TRUE(P().files.SetReadOnly(Path("phrase.wordlark"), false));
    EXPECT_FALSE(P().files.IsReadOnly(Path("phrase.wordlark")));
    EXPECT_TRUE(P().files.Replace(Path("phrase.tmp"), Path("phrase.wordlark")));
    EXPECT_EQ(Bytes(Path("phrase.wordlark")), "newer");
}

TEST_F(FileSystemTest, CreationTimeIsKeptAsSet) {
    // Wine keeps files on a Linux file system, which has no settable creation time.
    if (!IsSimulated()) GTEST_SKIP() << "creation times are not kept under Wine";
    WriteBytes(Path("item.txt"), "x");
    const uint64_t time = 133500000000000000ULL;
    ASSERT_TRUE(P().files.SetCreationTime(Path("item.txt"), time));
    EXPECT_EQ(P().files.CreationTime(Path("item.txt")), time);
    EXPECT_FALSE(P().files.CreationTime(Path("none.txt")));
}

TEST_F(FileSystemTest, MoveRenamesFoldersWithTheirFilesButNeverOverwrites) {
    ASSERT_TRUE(P().files.CreateDirectory(Path("Letters"), platform::Security::Default));
    WriteBytes(Path("Letters\\a.wordlark"), "a");
    ASSERT_TRUE(P().files.Move(Path("Letters"), Path("Mail")));
    EXPECT_EQ(Bytes(Path("Mail\\a.wordlark")), "a");
    EXPECT_EQ(P().files.Kind(Path("Letters")), platform::PathKind::Missing);
    EXPECT_EQ(Names(u"*"), (std::vector<Text>{u"Mail\\"}));

    WriteBytes(Path("b.txt"), "b");
    EXPECT_FALSE(P().files.Move(Path("b.txt"), Path("Mail"))) << "the target exists";
    ASSERT_TRUE(P().files.Move(Path("b.txt"), Path("Mail\\b.txt")));
    EXPECT_EQ(Bytes(Path("Mail\\b.txt")), "b");
}

TEST_F(FileSystemTest, OnlyAnEmptyFolderIsRemoved) {
    ASSERT_TRUE(P().files.CreateDirectory(Path("History"), platform::Security::Default));
    WriteBytes(Path("History\\1.txt"), "x");
    EXPECT_FALSE(P().files.RemoveDirectory(Path("History")));
    ASSERT_TRUE(P().files.DeleteFile(Path("History\\1.txt")));
    EXPECT_TRUE(P().files.RemoveDirectory(Path("History")));
    EXPECT_EQ(P().files.Kind(Path("History")), platform::PathKind::Missing);
}

}  // namespace
}  // namespace wlk::test
