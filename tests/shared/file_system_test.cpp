// Files and folders as the real file calls treat them: making, listing, moving,
// removing and replacing, and the read-only attribute.
#include <algorithm>

#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::PathKind;
using platform::Security;

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

TEST_F(FileSystemTest, FoldersAreMadeListedMovedAndRemovedOnlyWhenEmpty) {
    auto& files = P().files;
    EXPECT_FALSE(files.CreateAlways(Path("Group\\x.txt"), Security::Default)) << "no folder";
    ASSERT_TRUE(files.CreateDirectory(Path("Group"), Security::Everyone));
    EXPECT_FALSE(files.CreateDirectory(Path("Group"), Security::Everyone)) << "exists already";
    WriteBytes(Path("Russian.lng"), "12345");
    WriteBytes(Path("de.LNG"), "");
    WriteBytes(Path("notes.txt"), "");
    EXPECT_EQ(Names(u"*.lng"), (std::vector<Text>{u"Russian.lng", u"de.LNG"}));
    EXPECT_EQ(Names(u"*"),
              (std::vector<Text>{u"Group\\", u"Russian.lng", u"de.LNG", u"notes.txt"}));
    auto entries = files.List(Dir(), u"Russian.lng");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 5u);
    EXPECT_TRUE(files.List(Path("missing"), u"*").empty());

    // A file moves into the folder, the folder with it to a new name; neither overwrites.
    ASSERT_TRUE(files.Move(Path("Russian.lng"), Path("Group\\1.txt")));
    EXPECT_FALSE(files.Move(Path("notes.txt"), Path("Group"))) << "the target exists";
    ASSERT_TRUE(files.Move(Path("Group"), Path("Mail")));
    EXPECT_EQ(files.Kind(Path("Group")), PathKind::Missing);
    EXPECT_EQ(Bytes(Path("Mail\\1.txt")), "12345");
    EXPECT_FALSE(files.RemoveDirectory(Path("Mail")));
    EXPECT_FALSE(files.DeleteFile(Path("Mail"))) << "DeleteFile does not remove folders";
    ASSERT_TRUE(files.DeleteFile(Path("Mail\\1.txt")));
    EXPECT_TRUE(files.RemoveDirectory(Path("Mail")));
    EXPECT_EQ(files.Kind(Path("Mail")), PathKind::Missing);
}

TEST_F(FileSystemTest, ReplaceSwapsInTheNewFileUnlessTheOldIsReadOnly) {
    auto& files = P().files;
    const Text path = Path("phrase.wordlark");
    WriteBytes(path, "kept");
    WriteBytes(Path("phrase.tmp"), "newer");
    EXPECT_TRUE(files.CanWrite(path));

    ASSERT_TRUE(files.SetReadOnly(path, true));
    EXPECT_TRUE(files.IsReadOnly(path));
    EXPECT_FALSE(files.CanWrite(path));
    EXPECT_FALSE(files.DeleteFile(path));
    // Wine run by root refuses only the delete and writes through the
    // attribute otherwise, as root may write any file; Windows refuses all.
    if (!RunsUnderWine()) {
        EXPECT_FALSE(files.Replace(Path("phrase.tmp"), path));
        EXPECT_FALSE(files.OpenForAppend(path));
        EXPECT_EQ(Bytes(path), "kept");
    }
    ASSERT_TRUE(files.SetReadOnly(path, false));
    EXPECT_FALSE(files.IsReadOnly(path));
    EXPECT_TRUE(files.CanWrite(path));
    EXPECT_TRUE(files.Replace(Path("phrase.tmp"), path));
    EXPECT_EQ(Bytes(path), "newer");
    EXPECT_EQ(files.Kind(Path("phrase.tmp")), PathKind::Missing);
    EXPECT_TRUE(files.DeleteFile(path));
}

}  // namespace
}  // namespace wlk::test
