// Phrase library behaviour that needs the simulated platform's knobs: file names,
// the tree's look-ups, inclusion, sorting, write-back faults and the log.
#include <algorithm>

#include "log/event_log.h"
#include "phrases/command_file.h"
#include "phrases/command_tree.h"
#include "phrases/file_title.h"
#include "phrases/folder_loader.h"
#include "phrases/phrase_library.h"
#include "platform/text.h"
#include "settings/file_time.h"
#include "settings/settings.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using phrases::CWLKCommand;
using phrases::CWLKCommandTree;

std::string Phrase(const std::string& name, const std::string& attributes = "") {
    return "<?xml version=\"1.0\" ?><WLKCommand" + attributes + "><MenuName>" + name +
           "</MenuName></WLKCommand>";
}

CWLKCommand Node(uint32_t id, const char* name, bool included = true) {
    CWLKCommand node;
    node.id = id;
    node.name = T(name);
    node.SetIncluded(included);
    return node;
}

CWLKCommand Group(uint32_t id, const char* name, std::vector<CWLKCommand> children) {
    CWLKCommand group = Node(id, name);
    group.MakeGroup();
    for (auto& child : children) group.children->push_back(std::move(child));
    return group;
}

using PhraseTreeUnitTest = LoggedTest;

TEST_F(PhraseTreeUnitTest, FileTitlesFollowTheNamingRules) {
    using phrases::MakeFileTitle;
    EXPECT_EQ(MakeFileTitle(u"Re: hello world!", 1, true, true), u"Re_hello_world.wordlark");
    EXPECT_EQ(MakeFileTitle(u"Re: hello world!", 2, true, true), u"Re_hello_world2.wordlark");
    EXPECT_EQ(MakeFileTitle(u"Re: hello world!", 12, false, false), u"Re_ hello world12");
    // Only the first line counts, after trimming blanks and tabs at both ends.
    EXPECT_EQ(MakeFileTitle(u" \t Dear\tSir \n second line", 0, false, true), u"Dear_Sir");
    // Every refused character becomes "_", and runs of them shrink to one.
    // Seventeen in a row: one pass of "___" leaves seven, one pass of "__" four.
    EXPECT_EQ(MakeFileTitle(u"a?:\\\"!/<>.*|{}=()'b", 1, false, false), u"a____b");
    EXPECT_EQ(MakeFileTitle(u"(x) = {y}", 1, false, true), u"x_y");
    EXPECT_EQ(MakeFileTitle(u"many     blanks", 1, false, true), u"many_blanks");
    // One pass each: five underscores become three, then two, not one.
    EXPECT_EQ(MakeFileTitle(u"a_____b", 1, false, false), u"a__b");
}

TEST_F(PhraseTreeUnitTest, LookUpsCountsAndInclusionAcrossGroups) {
    CWLKCommandTree tree;
    auto& top = tree.Commands();
    top.push_back(Group(
        10, "Outer", {Group(11, "Inner", {Node(12, "deep", false)}), Node(13, "shallow", false)}));
    top.push_back(Node(3, "top"));
    top.push_back(Group(20, "Empty", {}));

    // Groups are found too; 0 stands for nothing found.
    auto nameOf = [&](uint32_t id) { return tree.FindById(id) ? tree.FindById(id)->name : u"0"; };
    auto parentOf = [&](uint32_t id) { return tree.FindParent(id) ? tree.FindParent(id)->id : 0; };
    EXPECT_EQ((std::vector<Text>{nameOf(12), nameOf(11), nameOf(99)}),
              (std::vector<Text>{u"deep", u"Inner", u"0"}));
    EXPECT_EQ((std::vector{parentOf(12), parentOf(11), parentOf(3), parentOf(99)}),
              (std::vector<uint32_t>{11, 10, 0, 0}));
    EXPECT_TRUE(CWLKCommandTree::GroupContainsId(top[0], 12));
    EXPECT_FALSE(CWLKCommandTree::GroupContainsId(top[0], 11)) << "a group is no phrase";
    EXPECT_FALSE(CWLKCommandTree::GroupContainsId(top[0], 3));

    // Every phrase below Outer is excluded, whatever the groups' own flags say.
    EXPECT_FALSE(top[0].IsIncluded());
    EXPECT_FALSE(top[2].IsIncluded());
    int all = 0, included = 0;
    tree.CountPhrases(all, included);
    EXPECT_EQ(std::pair(all, included), std::pair(6, 1));
    tree.FindById(12)->SetIncluded(true);
    EXPECT_TRUE(top[0].IsIncluded());
    EXPECT_TRUE(tree.FindById(11)->IsIncluded());
    EXPECT_EQ(phrases::CountPhrases(tree).included, 4);

    std::vector<uint32_t> visited;
    EXPECT_FALSE(tree.ForEach([&](CWLKCommand& node) {
        visited.push_back(node.id);
        return node.id != 13;
    }));
    EXPECT_EQ(visited, (std::vector<uint32_t>{10, 11, 12, 13}));
}

TEST_F(PhraseTreeUnitTest, SortPutsGroupsFirstAndComparesSortIdsUnsigned) {
    phrases::CommandList list;
    for (auto [id, sortId] : {std::pair{1u, 0xFFFFFFFFu}, {2u, 1u}, {3u, 0u}, {4u, 1u}})
        list.push_back(Node(id, "p")), list.back().sortId = sortId;
    list.push_back(Group(5, "g", {}));
    list.back().sortId = 0x80000000u;
    phrases::SortCommands(list);
    std::vector<uint32_t> order;
    for (const auto& node : list) order.push_back(node.id);
    EXPECT_EQ(order, (std::vector<uint32_t>{5, 3, 2, 4, 1}));
}

TEST_F(PhraseTreeUnitTest, LoadKeepsTheStoredFolderUnlessItLoadedOne) {
    Sim().files.Put(Path("A\\a.wordlark"), Phrase("a"));
    CWLKCommandTree tree;
    ASSERT_TRUE(tree.Load(Path("A")));
    ASSERT_EQ(tree.Commands().size(), 1u);

    EXPECT_FALSE(tree.Load(Path("missing")));
    EXPECT_TRUE(tree.Commands().empty()) << "a missing folder leaves the tree empty";
    EXPECT_EQ(tree.Folder(), Path("A"));

    Sim().files.Put(Path("A\\b.wordlark"), Phrase("b"));
    ASSERT_TRUE(tree.Load(u""));  // a reload of the folder loaded before
    EXPECT_EQ(tree.Commands().size(), 2u);

    ASSERT_TRUE(P().files.CreateDirectory(Path("Empty"), {}));
    EXPECT_TRUE(tree.Load(Path("Empty")));
    EXPECT_EQ(tree.Folder(), Path("Empty"));
}

TEST_F(PhraseTreeUnitTest, WriteBackKeepsAccessRunsWithoutAThreadAndLogsFailures) {
    auto logText = OpenLog();
    CWLKCommand node = Node(1, "n");
    ASSERT_TRUE(phrases::WriteCommandFile(node, Path("new.wordlark")));
    EXPECT_EQ(Sim().files.SecurityOf(Path("new.wordlark")), platform::Security::Everyone);
    Sim().files.Put(Path("Ph\\p.wordlark"), Phrase("p", " UsageCount=\"4\""));
    ASSERT_TRUE(phrases::WriteCommandFile(node, Path("Ph\\p.wordlark")));
    EXPECT_EQ(Sim().files.SecurityOf(Path("Ph\\p.wordlark")), platform::Security::Default)
        << "a rewritten file keeps its access";

    Sim().files.Put(Path("Ph\\p.wordlark"), Phrase("p", " UsageCount=\"4\""));
    CWLKCommandTree tree;
    ASSERT_TRUE(tree.Load(Path("Ph")));
    // Without a worker thread the use is written at once.
    Sim().threads.failStart = true;
    tree.MarkUsed(tree.Commands()[0].id);
    CWLKCommand read;
    ASSERT_TRUE(phrases::ReadCommandFile(read, Path("Ph\\p.wordlark")));
    EXPECT_EQ(read.GetUsageCount(), 5);

    const std::string written = Bytes(Path("Ph\\p.wordlark"));
    Sim().threads.failStart = false;
    Sim().files.DenyWrites(Path("Ph"));
    tree.MarkUsed(tree.Commands()[0].id);
    Sim().threads.WaitIdle();
    EXPECT_EQ(Bytes(Path("Ph\\p.wordlark")), written);
    EXPECT_EQ(tree.Commands()[0].GetUsageCount(), 6) << "the use is kept in memory";
    EXPECT_NE(logText().find("ERROR: code 5, Error 5.\r\n"), std::string::npos);
    EXPECT_EQ(P().files.List(Path("Ph"), u"*").size(), 1u) << "no temporary file is left";
}

TEST_F(PhraseTreeUnitTest, DateOfUseIsUniversalTimeAndGroupsHaveNone) {
    Sim().system.now = {2024, 3, 5, 1, 1, 30, 0, 0};  // local time, a day later
    Sim().system.nowFileTime = settings::ToFileTime({2024, 2, 0, 29, 23, 30, 15, 999});
    CWLKCommand phrase = Node(1, "p");
    phrase.SetDateUsageNow();
    const platform::LocalTime date = phrase.GetDateUsage();
    EXPECT_EQ(
        (std::vector<int>{date.year, date.month, date.day, date.hour, date.minute, date.second}),
        (std::vector<int>{2024, 2, 29, 23, 30, 15}));
    CWLKCommand group = Group(2, "g", {});
    group.SetDateUsageNow();
    group.SetDateUsage(date);
    EXPECT_FALSE(group.HasDateUsage());
}

TEST_F(PhraseTreeUnitTest, SkippedFilesAndTheLoadResultAreLogged) {
    auto logText = OpenLog();
    Sim().files.Put(Path("Ph\\empty.wordlark"), "");
    Sim().files.Put(Path("Ph\\junk.wordlark"), "\x01\x02 not xml <<");
    Sim().files.Put(Path("Ph\\root.wordlark"), "<Other/>");
    Sim().files.Put(Path("Ph\\ansi.wordlark"), Phrase("caf\xE9 \x80"));
    Sim().files.Put(Path("Ph\\untitled.wordlark"), "<WLKCommand/>");
    Sim().files.Put(Path("Ph\\G\\g.wordlark"), Phrase("g", " Excluded=\"1\""));
    Sim().files.Put(Path("Ph\\ok.wordlark"), Phrase("ok"));
    settings::Settings& settings = settings::Settings::Instance();
    const Text before = settings.GetPhrasesFolder();
    settings.SetPhrasesFolder(Path("Ph\\"));
    CWLKCommandTree tree;
    const phrases::PhraseCounts counts = phrases::LoadPhraseLibrary(tree);
    settings.SetPhrasesFolder(before);

    EXPECT_EQ(counts.all, 4);
    EXPECT_EQ(counts.included, 2);
    // A file in the ANSI code page is read as one.
    EXPECT_NE(std::find_if(tree.Commands().begin(), tree.Commands().end(),
                           [](const CWLKCommand& c) { return c.name == u"caf\u00e9 \u20ac"; }),
              tree.Commands().end());
    const std::string text = logText();
    const std::string folder = ToUtf8(Path("Ph\\"));
    for (const char* line : {"it is empty: [", "it is not XML: [",
                             "it has no WLKCommand element: [", "it has no MenuName: ["}) {
        EXPECT_NE(text.find(std::string("Phrase file skipped, ") + line + folder),
                  std::string::npos)
            << line;
    }
    EXPECT_NE(text.find("Phrases loaded from [" + folder + "]: 4 nodes, 2 shown, 4 files skipped"),
              std::string::npos)
        << text;
}

TEST_F(PhraseTreeUnitTest, RenamedGroupTakesItsFolderAlongButNeverOverwrites) {
    Sim().files.Put(Path("Letters\\greeting.wordlark"), "x");
    Sim().files.Put(Path("Taken\\other.wordlark"), "y");
    CWLKCommand group = Group(1, "Letters", {});
    group.SetPath(Path("Letters"));  // first path: nothing moves
    EXPECT_EQ(P().files.Kind(Path("Letters")), platform::PathKind::Directory);

    group.SetPath(Path("Mail"));
    EXPECT_EQ(Bytes(Path("Mail\\greeting.wordlark")), "x");
    EXPECT_EQ(P().files.Kind(Path("Letters")), platform::PathKind::Missing);

    group.SetPath(Path("Taken"));
    EXPECT_EQ(group.GetPath(), Path("Taken"));
    EXPECT_EQ(Bytes(Path("Mail\\greeting.wordlark")), "x") << "an existing folder wins";
    EXPECT_EQ(Bytes(Path("Taken\\other.wordlark")), "y");

    // A phrase only stores its path.
    Sim().files.Put(Path("note.wordlark"), "n");
    CWLKCommand phrase = Node(2, "Note");
    phrase.SetPath(Path("note.wordlark"));
    phrase.SetPath(Path("renamed.wordlark"));
    EXPECT_EQ(Bytes(Path("note.wordlark")), "n");
}

}  // namespace
}  // namespace wlk::test
