// The editor's library: what it saves must load back as it was shown, moves
// and removals must reach the disk, and files it did not read stay untouched.
#include "editor/phrase_document.h"

#include <sstream>

#include "editor/editor_options.h"
#include "platform/text.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using editor::PhraseDocument;
using phrases::CommandDataType;
using phrases::CommandList;
using phrases::CWLKCommand;

std::string Phrase(const std::string& name, const std::string& attributes = "") {
    return "<?xml version=\"1.0\" ?><WLKCommand" + attributes + "><MenuName>" + name +
           "</MenuName><Cmd>" + name + " body</Cmd></WLKCommand>";
}

// Every field a file keeps, the path, and the nesting, one line a node.
std::vector<std::string> Dump(const CommandList& list, const std::string& indent = "") {
    std::vector<std::string> lines;
    for (const CWLKCommand& n : list) {
        const platform::LocalTime& d = n.GetDateUsage();
        std::ostringstream line;
        line << indent << ToUtf8(n.name) << '|' << ToUtf8(n.GetPath()) << '|' << int(n.dataType)
             << '|' << ToUtf8(n.command) << '|' << ToUtf8(n.hint) << '|' << n.sortId << '|'
             << n.useTitleOnly << n.disabledIsNoHasSelection << n.IsIncluded() << n.flagsMenu << '|'
             << n.usageCount << '|' << d.year << '-' << d.month << '-' << d.day << ' ' << d.hour
             << ':' << d.minute << ':' << d.second;
        lines.push_back(line.str());
        if (n.IsGroup()) {
            for (std::string& child : Dump(*n.children, indent + "  ")) lines.push_back(child);
        }
    }
    return lines;
}

std::vector<Text> Names(const CommandList& list) {
    std::vector<Text> names;
    for (const CWLKCommand& node : list) names.push_back(node.name);
    return names;
}

class PhraseDocumentTest : public LoggedTest {
protected:
    const CommandList& Reloaded() {
        EXPECT_TRUE(reloaded_.Load(Path("Ph\\")));
        return reloaded_.Commands();
    }
    uint32_t IdOf(const Text& name) {
        uint32_t id = 0;
        doc_.Tree().ForEach([&](const CWLKCommand& node) {
            if (node.name == name) id = node.id;
            return id == 0;
        });
        return id;
    }
    PhraseDocument doc_;
    phrases::CWLKCommandTree reloaded_;
};

TEST_F(PhraseDocumentTest, SavedLibraryLoadsBackFieldForFieldInOrder) {
    Sim().files.Put(Path("Ph\\old.wordlark"),
                    Phrase("old", " UsageCount=\"7\" DateUsage=\"2023|5|6|7|8|9\""));
    ASSERT_TRUE(doc_.Load(Path("Ph\\")));
    const uint32_t letters = doc_.AddGroup(0, u"Letters: <draft>");
    const uint32_t inner = doc_.AddGroup(letters, u"Inner");
    Text body;
    for (int i = 0; body.size() < 10000; ++i) body += u"line " + ToText(i) + u" <&>\r\n\t";
    body.resize(10000);
    const Text odd = u"a/b:c*?\"<>|";
    const uint32_t rtf = doc_.AddPhrase(inner, u"Deep", u"{\\rtf1 deep}");
    const uint32_t exec = doc_.AddPhrase(letters, odd, u"notepad.exe");
    ASSERT_NE(doc_.AddPhrase(letters, odd, u"twin"), 0u);
    ASSERT_NE(doc_.AddPhrase(0, Text(500, u'n'), body), 0u);
    doc_.Edit(rtf, [](CWLKCommand& c) {
        c.dataType = CommandDataType::RTF;
        c.hint = u"a hint";
        c.flagsMenu = CWLKCommand::kSeparatorBefore | CWLKCommand::kSeparatorAfter;
    });
    doc_.Edit(exec, [](CWLKCommand& c) {
        c.dataType = CommandDataType::EXEC;
        c.useTitleOnly = c.disabledIsNoHasSelection = true;
        c.SetIncluded(false);
    });
    doc_.Edit(inner, [](CWLKCommand& c) { c.useTitleOnly = true, c.flagsMenu = 2; });
    doc_.Edit(IdOf(u"old"), [](CWLKCommand& c) { c.command = u"edited"; });
    ASSERT_TRUE(doc_.Save().Ok());
    EXPECT_FALSE(doc_.IsModified());

    const CommandList& top = Reloaded();
    EXPECT_EQ(Dump(top), Dump(doc_.Tree().Commands()));
    const Text dir = Path("Ph\\");
    EXPECT_EQ(Names(top), (std::vector<Text>{u"Letters_ _draft", u"old", Text(60, u'n')}));
    EXPECT_EQ(top[2].GetPath(), dir + Text(60, u'n') + u".wordlark");
    EXPECT_EQ(top[2].command, body);
    const CommandList& inLetters = *top[0].children;
    ASSERT_EQ(inLetters.size(), 3u);
    EXPECT_EQ(inLetters[1].GetPath(), dir + u"Letters_ _draft\\a_b_c.wordlark");
    EXPECT_EQ(inLetters[2].GetPath(), dir + u"Letters_ _draft\\a_b_c2.wordlark");
    EXPECT_EQ(inLetters[2].name, odd);
    // The edited phrase keeps its use.
    EXPECT_EQ(Dump({top[1]})[0],
              "old|" + ToUtf8(dir) + "old.wordlark|0|edited||0|0010|7|2023-5-6 7:8:9");
}

TEST_F(PhraseDocumentTest, MovesReachTheDiskAndTheOrderSurvivesAReload) {
    for (const char* name : {"a", "b", "c"}) {
        Sim().files.Put(Path("Ph\\") + T(name) + u".wordlark", Phrase(name));
    }
    Sim().files.Put(Path("Ph\\G1\\c.wordlark"), Phrase("x"));
    Sim().files.Put(Path("Ph\\G2\\y.wordlark"), Phrase("y"));
    ASSERT_TRUE(doc_.Load(Path("Ph\\")));
    const uint32_t a = IdOf(u"a"), b = IdOf(u"b"), c = IdOf(u"c"), g1 = IdOf(u"G1"),
                   g2 = IdOf(u"G2");
    // Groups stay above phrases; nothing moves into itself, its own group or a phrase.
    for (bool refused :
         {doc_.MoveUp(a), doc_.MoveDown(g2), doc_.MoveUp(g1), doc_.MoveToGroup(g1, g1),
          doc_.MoveToGroup(b, 0), doc_.MoveToGroup(a, 999), doc_.MoveToGroup(a, b),
          doc_.AddPhrase(b, u"p", u"") != 0, doc_.Rename(a, u"")}) {
        EXPECT_FALSE(refused);
    }
    EXPECT_FALSE(doc_.IsModified());
    ASSERT_TRUE(doc_.MoveDown(a) && doc_.MoveUp(c) && doc_.MoveToGroup(c, g1));
    ASSERT_TRUE(doc_.Rename(g2, u"Second") && doc_.MoveToGroup(g2, g1));
    EXPECT_FALSE(doc_.MoveToGroup(g1, g2)) << "a group never goes below itself";
    EXPECT_EQ(Names(doc_.Tree().Commands()), (std::vector<Text>{u"G1", u"b", u"a"}));
    ASSERT_TRUE(doc_.Save().Ok());

    const CommandList& top = Reloaded();
    EXPECT_EQ(Dump(top), Dump(doc_.Tree().Commands()));
    EXPECT_EQ(Names(top), (std::vector<Text>{u"G1", u"b", u"a"}));
    EXPECT_EQ(Names(*top[0].children), (std::vector<Text>{u"Second", u"x", u"c"}));
    // The moved file's own name was taken in its new folder.
    EXPECT_EQ(top[0].children->back().GetPath(), Path("Ph\\G1\\c2.wordlark"));
    EXPECT_EQ(top[0].children->front().children->at(0).GetPath(),
              Path("Ph\\G1\\Second\\y.wordlark"));
    EXPECT_EQ(P().files.Kind(Path("Ph\\c.wordlark")), platform::PathKind::Missing);
    EXPECT_EQ(P().files.Kind(Path("Ph\\G2")), platform::PathKind::Missing);
}

TEST_F(PhraseDocumentTest, RemovingAGroupLeavesUnreadFilesAndTheirFolder) {
    const std::string bad = "<WLKCommand><MenuName>cut short";
    Sim().files.Put(Path("Ph\\G\\p.wordlark"), Phrase("p"));
    Sim().files.Put(Path("Ph\\G\\bad.wordlark"), bad);
    Sim().files.Put(Path("Ph\\G\\FOLDER_SELF.wordlark"), "<WLKCommand SortID=\"3\"/>");
    Sim().files.Put(Path("Ph\\G\\H\\q.wordlark"), Phrase("q"));
    Sim().files.Put(Path("Ph\\empty.wordlark"), "");
    Sim().files.Put(Path("Ph\\keep.wordlark"), Phrase("keep"));
    ASSERT_TRUE(doc_.Load(Path("Ph\\")));
    auto unread = [&] {
        std::vector<Text> lines;
        for (const auto& file : doc_.UnreadFiles())
            lines.push_back(file.path + u"|" + file.folder + u"|" + file.reason);
        return lines;
    };
    const std::vector<Text> expected = {Path("Ph\\empty.wordlark|") + Path("Ph\\|is empty"),
                                        Path("Ph\\G\\bad.wordlark|") + Path("Ph\\G\\|is not XML")};
    // A group's phrases and broken files are read when it is first opened, or removed.
    EXPECT_EQ(unread(), std::vector<Text>{expected[0]});
    EXPECT_EQ(Names(*doc_.Tree().Commands()[0].children), std::vector<Text>{u"H"});
    EXPECT_FALSE(doc_.IsRead(IdOf(u"G")));

    ASSERT_TRUE(doc_.Remove(IdOf(u"G")));
    EXPECT_EQ(unread(), expected);
    EXPECT_FALSE(doc_.Remove(IdOf(u"q"))) << "gone with its group";
    EXPECT_TRUE(doc_.IsModified());
    ASSERT_TRUE(doc_.Save().Ok());
    EXPECT_FALSE(doc_.IsModified());
    for (const char* gone : {"Ph\\G\\p.wordlark", "Ph\\G\\FOLDER_SELF.wordlark", "Ph\\G\\H"}) {
        EXPECT_EQ(P().files.Kind(Path(gone)), platform::PathKind::Missing) << gone;
    }
    EXPECT_EQ(Bytes(Path("Ph\\G\\bad.wordlark")), bad);
    EXPECT_EQ(Bytes(Path("Ph\\empty.wordlark")), "");
    ASSERT_TRUE(doc_.Load(Path("Ph\\")));
    EXPECT_EQ(Names(doc_.Tree().Commands()), (std::vector<Text>{u"G", u"keep"}));
    ASSERT_TRUE(doc_.ReadGroup(IdOf(u"G")));
    EXPECT_FALSE(doc_.ReadGroup(IdOf(u"G"))) << "read once";
    EXPECT_EQ(unread(), expected);
}

TEST_F(PhraseDocumentTest, FailedWritesKeepTheOldFileAndOutsideChangesAreSeen) {
    for (const char* name : {"p", "q", "r"}) {
        Sim().files.Put(Path("Ph\\") + T(name) + u".wordlark", Phrase(name));
    }
    ASSERT_TRUE(doc_.Load(Path("Ph\\")));
    const uint32_t p = IdOf(u"p"), q = IdOf(u"q"), r = IdOf(u"r");
    doc_.Edit(r, [](CWLKCommand& c) { c.command = u"r body"; });
    EXPECT_FALSE(doc_.IsModified()) << "the same fields handed back change nothing";
    for (uint32_t id : {p, q}) doc_.Edit(id, [](CWLKCommand& c) { c.command = u"new"; });
    Sim().files.DenyWrites(Path("Ph\\p.wordlark"));
    EXPECT_EQ(doc_.Save().failed, std::vector<Text>{Path("Ph\\p.wordlark")});
    EXPECT_EQ(Bytes(Path("Ph\\p.wordlark")), Phrase("p"));
    EXPECT_TRUE(doc_.IsModified(p));
    EXPECT_FALSE(doc_.IsModified(q));
    EXPECT_TRUE(doc_.ChangedOnDisk().empty());

    const std::string saved = Bytes(Path("Ph\\q.wordlark"));
    std::string outside = saved;  // the same size: only the write tells
    outside[outside.find("new")] = 'N';
    WriteBytes(Path("Ph\\q.wordlark"), outside);
    ASSERT_TRUE(P().files.DeleteFile(Path("Ph\\r.wordlark")));
    EXPECT_EQ(doc_.ChangedOnDisk(),
              (std::vector<Text>{Path("Ph\\q.wordlark"), Path("Ph\\r.wordlark")}));
    doc_.KeepOwnVersions();
    EXPECT_TRUE(doc_.ChangedOnDisk().empty());
    EXPECT_TRUE(doc_.IsModified(q) && doc_.IsModified(r));
    ASSERT_TRUE(doc_.Remove(p));
    EXPECT_EQ(doc_.Save().failed, std::vector<Text>{Path("Ph\\p.wordlark")}) << "still refused";
    EXPECT_EQ(Bytes(Path("Ph\\p.wordlark")), Phrase("p"));
    EXPECT_EQ(Bytes(Path("Ph\\q.wordlark")), saved);
    EXPECT_NE(Bytes(Path("Ph\\r.wordlark")).find("<Cmd>r body</Cmd>"), std::string::npos);
}

TEST(PhraseDocumentTextTest, OptionsComeFromTheCommandLine) {
    using editor::EditorOptions;
    const std::pair<Text, EditorOptions> options[] = {
        {u"\"C:\\W\\WordlarkEditor.exe\" /AddFromCB", {true, false, false}},
        {u"/firstrun\t/ADDSELTEXT", {false, true, true}},
        {u"/addfromcbx firstrun /first run", {}},
    };
    for (const auto& [line, expected] : options) {
        EXPECT_EQ(editor::ParseEditorOptions(line), expected) << ToUtf8(line);
    }
}

}  // namespace
}  // namespace wlk::test
