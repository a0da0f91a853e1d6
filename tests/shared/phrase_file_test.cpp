// Phrase files on the real file system (and the simulated one): the exact bytes
// written, what reading takes from a file, loading a folder, and bad files.
#include <algorithm>
#include <tuple>

#include "editor/phrase_document.h"
#include "phrases/command_file.h"
#include "phrases/command_tree.h"
#include "phrases/file_title.h"
#include "platform/text.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using phrases::CommandDataType;
using phrases::CWLKCommand;
using phrases::CWLKCommandTree;

constexpr char kDeclaration[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n";

// A phrase file as the editor writes it: attributes and children given raw.
std::string PhraseXml(const std::string& attributes, const std::string& children) {
    return std::string(kDeclaration) + "<WLKCommand" + attributes + ">\r\n" + children +
           "</WLKCommand>\r\n";
}

std::string Titled(const std::string& name, const std::string& attributes = "") {
    return PhraseXml(attributes, "    <MenuName>" + name + "</MenuName>\r\n    <Cmd>" + name +
                                     " body</Cmd>\r\n");
}

// A date's fields from the year down to the second.
std::vector<int> Fields(const platform::LocalTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

class PhraseFileTest : public PlatformTest {
protected:
    void MakeFolder(const Text& path) { ASSERT_TRUE(P().files.CreateDirectory(path, {})); }
    std::vector<Text> Names(const phrases::CommandList& list) {
        std::vector<Text> names;
        for (const auto& node : list) names.push_back(node.name);
        return names;
    }
    CWLKCommand Read(const std::string& bytes) {
        WriteBytes(Path("one.wordlark"), bytes);
        CWLKCommand node;
        EXPECT_TRUE(phrases::ReadCommandFile(node, Path("one.wordlark")));
        return node;
    }
};

TEST_F(PhraseFileTest, WrittenFilesFollowTheFormatByteForByte) {
    CWLKCommand phrase;
    phrase.name = u"Gr\u00fc\u00dfe";
    phrase.command = u"Dear <name>,\n  thanks & \"bye\"'";
    phrase.hint = u"Says hi";
    phrase.dataType = CommandDataType::RTF;
    phrase.usageCount = 3;
    phrase.sortId = 4000000000u;
    phrase.flagsMenu = 7;
    phrase.useTitleOnly = true;
    phrase.SetDateUsage({2024, 2, 4, 29, 13, 5, 9, 250});
    ASSERT_TRUE(phrases::WriteCommandFile(phrase, Path("p.wordlark")));
    EXPECT_EQ(Bytes(Path("p.wordlark")),
              std::string(kDeclaration) +
                  "<WLKCommand UsageCount=\"3\" DisabledIsNoHasSelection=\"0\" UseTitleOnly=\"1\" "
                  "SortID=\"4000000000\" FlagsMenu=\"7\" DateUsage=\"2024|2|29|13|5|9\">\r\n"
                  "    <MenuName>Gr\xC3\xBC\xC3\x9F"
                  "e</MenuName>\r\n"
                  "    <DataType>RTF</DataType>\r\n"
                  "    <Cmd>Dear &lt;name&gt;,&#x0A;  thanks &amp; &quot;bye&quot;&apos;</Cmd>\r\n"
                  "    <Hint>Says hi</Hint>\r\n"
                  "</WLKCommand>\r\n");

    // Excluded comes first and only when excluded; no date, no "DateUsage"; empty
    // texts still give their elements.
    CWLKCommand bare;
    bare.name = u"x";
    bare.dataType = CommandDataType::EXEC;
    bare.disabledIsNoHasSelection = true;
    bare.SetIncluded(false);
    ASSERT_TRUE(phrases::WriteCommandFile(bare, Path("bare.wordlark")));
    EXPECT_EQ(Bytes(Path("bare.wordlark")),
              std::string(kDeclaration) +
                  "<WLKCommand Excluded=\"1\" UsageCount=\"0\" DisabledIsNoHasSelection=\"1\" "
                  "UseTitleOnly=\"0\" SortID=\"0\" FlagsMenu=\"0\">\r\n"
                  "    <MenuName>x</MenuName>\r\n"
                  "    <DataType>EXEC</DataType>\r\n"
                  "    <Cmd></Cmd>\r\n"
                  "    <Hint></Hint>\r\n"
                  "</WLKCommand>\r\n");

    // A group writes no children and no date; it is excluded when nothing below is shown.
    CWLKCommand group;
    group.MakeGroup();
    group.name = u"Letters";
    group.sortId = 2;
    group.usageCount = 9;
    group.dateUsage = {2024, 1, 0, 1, 0, 0, 0, 0};  // set behind the accessor's back
    group.children->push_back(bare);
    group.SetPath(Path("Letters"));
    MakeFolder(group.GetPath());
    ASSERT_TRUE(phrases::WriteCommandFile(group, phrases::CommandFileName(group)));
    EXPECT_EQ(Bytes(Path("Letters\\FOLDER_SELF.wordlark")),
              std::string(kDeclaration) +
                  "<WLKCommand Excluded=\"1\" UsageCount=\"9\" DisabledIsNoHasSelection=\"0\" "
                  "UseTitleOnly=\"0\" SortID=\"2\" FlagsMenu=\"0\" />\r\n");
}

TEST_F(PhraseFileTest, ReadingTakesTextsExactlyAndNormalisesNumbers) {
    CWLKCommand node = Read(PhraseXml(
        " UsageCount=\"-5\" SortID=\"-1\" FlagsMenu=\"3\" UseTitleOnly=\"2\" "
        "DisabledIsNoHasSelection=\"1\" DateUsage=\"2023|12|31|23|59|58\"",
        "    <MenuName>  two  blanks  </MenuName>\r\n"
        "    <DataType>exec</DataType>\r\n"
        "    <Cmd>line 1\r\n\tline 2 &amp;lt;b&amp;gt; &amp;quote;q&amp;quote; &lt;i&gt;</Cmd>\r\n"
        "    <Hint>caf\xC3\xA9</Hint>\r\n"));
    EXPECT_EQ(
        std::tie(node.name, node.dataType, node.command, node.hint, node.sortId),
        std::tuple(Text(u"  two  blanks  "), CommandDataType::EXEC,
                   Text(u"line 1\r\n\tline 2 <b> \"q\" <i>"), Text(u"caf\u00e9"), 0xFFFFFFFFu));
    EXPECT_EQ((std::vector<int>{node.GetUsageCount(), node.HasSeparatorBefore(),
                                node.HasSeparatorAfter(), node.IsUseTitleOnly(),
                                node.IsDisabledWithoutSelection(), node.IsIncluded()}),
              (std::vector<int>{0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(Fields(node.GetDateUsage()), (std::vector<int>{2023, 12, 31, 23, 59, 58}));

    // Titles and hints are cut; an unknown or missing type is text; six zeros are no date.
    const std::string longName(70, 'n');
    const std::string longHint(600, 'h');
    node = Read(PhraseXml(" Excluded=\"7\" DateUsage=\"0|0|0|0|0|0\"",
                          "<MenuName>" + longName + "</MenuName><DataType>html</DataType><Hint>" +
                              longHint + "</Hint>"));
    EXPECT_EQ(std::tie(node.name, node.hint, node.dataType, node.command),
              std::tuple(Text(60, u'n'), Text(512, u'h'), CommandDataType::TEXT, Text()));
    EXPECT_FALSE(node.HasDateUsage());
    EXPECT_FALSE(node.IsIncluded());
    EXPECT_EQ(Read(Titled("t")).dataType, CommandDataType::TEXT);

    // A title cut to blanks alone still reads as a title once the phrase was written back.
    node = Read(PhraseXml("", "<MenuName>" + std::string(60, ' ') + "x</MenuName>"));
    ASSERT_TRUE(phrases::WriteCommandFile(node, Path("one.wordlark")));
    EXPECT_EQ(Read(Bytes(Path("one.wordlark"))).name, Text(60, u' '));

    // Without a title the attributes are still taken, but it is no phrase.
    CWLKCommand untitled;
    WriteBytes(Path("untitled.wordlark"),
               PhraseXml(" UsageCount=\"4\"", "<MenuName></MenuName><Cmd>c</Cmd>"));
    EXPECT_FALSE(phrases::ReadCommandFile(untitled, Path("untitled.wordlark")));
    EXPECT_EQ(untitled.GetUsageCount(), 4);
}

TEST_F(PhraseFileTest, LoadBuildsTheSortedTreeFromFoldersAndDescriptors) {
    WriteBytes(Path("b.wordlark"), Titled("B", " SortID=\"5\""));
    WriteBytes(Path("a.WORDLARK"), Titled("A", " SortID=\"5\""));
    WriteBytes(Path("c.wordlark"), Titled("C", " SortID=\"1\""));
    WriteBytes(Path("notes.txt"), Titled("not a phrase file name"));
    WriteBytes(Path("FOLDER_SELF.wordlark"), Titled("top descriptor is no phrase"));
    MakeFolder(Path("Work"));
    WriteBytes(
        Path("Work\\FOLDER_SELF.wordlark"),
        PhraseXml(" SortID=\"9\" UsageCount=\"6\" FlagsMenu=\"1\" DateUsage=\"2020|1|1|0|0|0\"",
                  ""));
    WriteBytes(Path("Work\\w.wordlark"), Titled("W"));
    MakeFolder(Path("Home"));
    WriteBytes(Path("Home\\h.wordlark"), Titled("H", " Excluded=\"1\""));
    MakeFolder(Path("Empty"));

    CWLKCommandTree tree;
    ASSERT_TRUE(tree.Load(Dir()));
    auto& top = tree.Commands();
    // Groups first by sort id (Work has 9), then phrases: C (1), then A and B.
    // Equal keys keep the order of the listing, which the file system chooses.
    std::vector<Text> names = Names(top);
    ASSERT_EQ(names.size(), 6u);
    std::sort(names.begin(), names.begin() + 2);
    std::sort(names.begin() + 4, names.end());
    EXPECT_EQ(names, (std::vector<Text>{u"Empty", u"Home", u"Work", u"C", u"A", u"B"}));

    const CWLKCommand& work = top[2];
    ASSERT_TRUE(work.IsGroup());
    // Groups carry no date.
    EXPECT_EQ(
        (std::vector<int>{work.GetUsageCount(), work.HasSeparatorBefore(), work.HasDateUsage()}),
        (std::vector<int>{6, 1, 0}));
    EXPECT_EQ(work.GetPath(), Path("Work"));
    ASSERT_EQ(work.children->size(), 1u);
    EXPECT_EQ((*work.children)[0].GetPath(), Path("Work\\w.wordlark"));

    // Ids: unique, from 1, every node reachable by its own.
    std::vector<uint32_t> ids;
    tree.ForEach([&](const CWLKCommand& node) {
        ids.push_back(node.id);
        return true;
    });
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(PhraseFileTest, BadFilesAreSkippedUnusualOnesLoadedAndAllLeftAsTheyWere) {
    const std::string good = Titled("Good");
    std::string deep = std::string(kDeclaration) + "<WLKCommand>";
    for (int i = 0; i < 200000; ++i) deep += "<a>";
    // Closing tags inside attribute values and comments close nothing.
    std::string hidden = std::string(kDeclaration) + "<WLKCommand>";
    for (int i = 0; i < 100000; ++i) hidden += "<a t=\"</a>\"><!--</a>-->";
    // Each attribute is looked up among the earlier ones: their square is minutes.
    std::string crowded = std::string(kDeclaration) + "<WLKCommand";
    for (int i = 0; i < 200000; ++i) crowded += " a" + std::to_string(i) + "=\"\"";
    crowded += "><MenuName>Crowded</MenuName></WLKCommand>";
    std::string utf16 = "\xFF\xFE" + Utf16Bytes(Titled("Wide"));
    std::string many = Titled("Many");
    std::string siblings;
    for (int i = 0; i < 5000; ++i) siblings += "<x/>";
    many.insert(many.find("</WLKCommand>"), siblings);
    const std::vector<std::pair<const char*, std::string>> files = {
        {"empty.wordlark", ""},
        {"truncated.wordlark", good.substr(0, good.size() / 2)},
        {"binary.wordlark", std::string("\x00\x01\xFE\xFF<WLKCommand>\x00\x80", 16)},
        {"deep.wordlark", deep},
        {"hidden.wordlark", hidden},
        {"crowded.wordlark", crowded},
        {"utf16.wordlark", utf16},
        {"other_root.wordlark",
         std::string(kDeclaration) + "<Phrase><MenuName>x</MenuName></Phrase>"},
        {"huge.wordlark", Titled(std::string(10 << 20, 'x'))},
        {"latin1.wordlark", Titled("caf\xE9")},
        {"many.wordlark", many},
        {"good.wordlark", good},
    };
    for (const auto& [name, bytes] : files) WriteBytes(Path(name), bytes);

    CWLKCommandTree tree;
    ASSERT_TRUE(tree.Load(Dir()));
    std::vector<Text> names = Names(tree.Commands());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<Text>{u"Good", u"Many", u"caf\u00e9", Text(60, u'x')}));
    for (const auto& [name, bytes] : files) EXPECT_EQ(Bytes(Path(name)), bytes) << name;
}

TEST_F(PhraseFileTest, UseIsWrittenBackOnAWorkerThreadEvenIntoAReadOnlyFile) {
    WriteBytes(Path("used.wordlark"), Titled("Used", " UsageCount=\"-5\" Excluded=\"0\""));
    ASSERT_TRUE(P().files.SetReadOnly(Path("used.wordlark"), true));
    CWLKCommandTree tree;
    ASSERT_TRUE(tree.Load(Dir()));
    ASSERT_EQ(tree.Commands().size(), 1u);
    tree.MarkUsed(tree.Commands()[0].id);
    tree.MarkUsed(999);  // unknown ids are ignored
    EXPECT_EQ(tree.Commands()[0].GetUsageCount(), 1);
    ASSERT_TRUE(tree.Commands()[0].HasDateUsage());
    const platform::LocalTime now = tree.Commands()[0].GetDateUsage();
    // A reload right away must not disturb the write, which works from its own copy.
    ASSERT_TRUE(tree.Load(u""));
    CWLKCommand read;
    EXPECT_TRUE(WaitUntil([&] {
        return phrases::ReadCommandFile(read, Path("used.wordlark")) && read.GetUsageCount() == 1;
    })) << Bytes(Path("used.wordlark"));
    EXPECT_EQ(Fields(read.GetDateUsage()), Fields(now));
    EXPECT_EQ(read.command, u"Used body");
    const auto entries = P().files.List(Dir(), u"*");
    ASSERT_EQ(entries.size(), 1u) << "no temporary file stays";
    EXPECT_EQ(entries[0].name, u"used.wordlark");
}

// The editor's save on the real file system: each file through a temporary
// one, none left behind, and a file the user made read-only left whole.
TEST_F(PhraseFileTest, EditorSavesThroughTemporaryFilesAndLeavesReadOnlyFilesWhole) {
    const std::string kept = Titled("Kept");
    WriteBytes(Path("kept.wordlark"), kept);
    WriteBytes(Path("open.wordlark"), Titled("Open"));
    ASSERT_TRUE(P().files.SetReadOnly(Path("kept.wordlark"), true));
    editor::PhraseDocument document;
    ASSERT_TRUE(document.Load(Dir()));
    for (const CWLKCommand& node : document.Tree().Commands())
        ASSERT_TRUE(document.Edit(node.id, [](CWLKCommand& c) { c.command = u"changed"; }));

    const editor::SaveReport report = document.Save();
    EXPECT_EQ(report.failed, std::vector<Text>{Path("kept.wordlark")});
    EXPECT_EQ(Bytes(Path("kept.wordlark")), kept);
    EXPECT_TRUE(P().files.IsReadOnly(Path("kept.wordlark")));
    CWLKCommand read;
    ASSERT_TRUE(phrases::ReadCommandFile(read, Path("open.wordlark")));
    EXPECT_EQ(read.command, u"changed");
    EXPECT_TRUE(document.IsModified()) << "the refused phrase waits for the next save";
    EXPECT_EQ(P().files.List(Dir(), u"*").size(), 2u) << "no temporary file stays";
}

TEST_F(PhraseFileTest, NewPhraseGetsTheFirstFreeNameInItsFolder) {
    MakeFolder(Path("Mail"));
    WriteBytes(Path("Mail\\m.wordlark"), Titled("M"));
    WriteBytes(Path("Mail\\Re_hello_world.wordlark"), Titled("Taken"));
    EXPECT_EQ(phrases::MakeUniqueFileName(u"Re: hello world!", Path("Mail")),
              Path("Mail\\Re_hello_world2.wordlark"));
    EXPECT_EQ(phrases::MakeUniqueFileName(u"M", Path("Mail")), Path("Mail\\M2.wordlark"))
        << "m.wordlark is taken in another letter case";
}

}  // namespace
}  // namespace wlk::test
