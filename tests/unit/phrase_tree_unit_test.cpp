// Phrase library behaviour that needs the simulated platform's knobs: write-back
// faults, the date of use, the log and group folders.
#include "log/event_log.h"
#include "phrases/command_file.h"
#include "phrases/command_tree.h"
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

TEST_F(PhraseTreeUnitTest, DateOfUseIsUniversalTime) {
    Sim().system.now = {2024, 3, 5, 1, 1, 30, 0, 0};  // local time, a day later
    Sim().system.nowFileTime = settings::ToFileTime({2024, 2, 0, 29, 23, 30, 15, 999});
    CWLKCommand phrase = Node(1, "p");
    phrase.SetDateUsageNow();
    const platform::LocalTime date = phrase.GetDateUsage();
    EXPECT_EQ(
        (std::vector<int>{date.year, date.month, date.day, date.hour, date.minute, date.second}),
        (std::vector<int>{2024, 2, 29, 23, 30, 15}));
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

    EXPECT_EQ(std::pair(counts.all, counts.included), std::pair(4, 2));
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
    group.SetPath(Path("Mail"));
    EXPECT_EQ(Bytes(Path("Mail\\greeting.wordlark")), "x");
    EXPECT_EQ(P().files.Kind(Path("Letters")), platform::PathKind::Missing);

    group.SetPath(Path("Taken"));
    EXPECT_EQ(group.GetPath(), Path("Taken"));
    EXPECT_EQ(Bytes(Path("Mail\\greeting.wordlark")), "x") << "an existing folder wins";
    EXPECT_EQ(Bytes(Path("Taken\\other.wordlark")), "y");
}

}  // namespace
}  // namespace wlk::test
