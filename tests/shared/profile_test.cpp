// The profile (INI) functions as settings, language and history ".info" files use
// them; the expectations are what Wine does, which the simulation follows.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

class ProfileTest : public PlatformTest {
protected:
    platform::Profile& profile() { return P().profile; }
    Text Get(const Text& file, const char* section, const char* key, size_t chars = 1024) {
        return profile().GetString(file, T(section), T(key), u"DEF", chars);
    }
    bool Write(const Text& file, const char* section, const char* key, const Text& value) {
        return profile().WriteString(file, T(section), T(key), value);
    }
    bool Remove(const Text& file, const char* section, const char* key) {
        return profile().WriteString(file, T(section), T(key), std::nullopt);
    }
};

TEST_F(ProfileTest, Utf16AnsiAndUtf8FilesReadAlike) {
    const std::u16string_view text =
        u"; settings\r\n"
        u"  [ Settings ]  \r\n"
        u"  Language  =  caf\u00E9  \r\n"
        u"Quoted=\"  padded  \"\r\n"
        u"noequals\r\n"
        u"Empty=\r\n"
        u"Dup=first\r\n"
        u"dup=second\r\n"
        u"Inline=a ; b\r\n"
        u"[settings]\r\n"
        u"Later=hidden\r\n";
    const std::vector<std::pair<const char*, std::string>> files = {
        {"utf16.ini", Utf16File(text)},
        {"ansi.ini", ToLatin1(text)},
        {"utf8.ini", "\xEF\xBB\xBF" + ToUtf8(text)},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const Text file = Path(name);
        WriteBytes(file, bytes);
        EXPECT_EQ(Get(file, "SETTINGS", " language "), u"caf\u00E9");
        EXPECT_EQ(Get(file, "Settings", "Quoted"), u"  padded  ");
        EXPECT_EQ(Get(file, "Settings", "noequals"), u"DEF");
        EXPECT_EQ(Get(file, "Settings", "Empty"), u"");
        EXPECT_EQ(Get(file, "Settings", "Language", 4), u"caf") << "cut to the buffer";
        EXPECT_EQ(Get(file, "Settings", "DUP"), u"first");
        EXPECT_EQ(Get(file, "Settings", "Inline"), u"a ; b");
        // A second section of the same name is never looked at.
        EXPECT_EQ(Get(file, "Settings", "Later"), u"DEF");
    }
}

TEST_F(ProfileTest, IntReadsParseLikeWine) {
    const Text file = Path("ints.ini");
    WriteBytes(file,
               "[I]\r\nlead= 12\r\nneg=-5\r\ntail=12abc\r\nword=abc\r\nempty=\r\n"
               "hex=0x1F\r\nall=4294967295\r\nquoted=\"42\"\r\n");
    const std::pair<const char*, int> values[] = {
        {"lead", 12}, {"neg", -5}, {"tail", 12},   {"word", 0},     {"empty", 77},
        {"hex", 31},  {"all", -1}, {"quoted", 42}, {"missing", 77},
    };
    for (const auto& [key, value] : values)
        EXPECT_EQ(profile().GetInt(file, u"I", T(key), 77), value) << key;
    EXPECT_EQ(profile().GetInt(file, u"Nowhere", u"lead", -3), -3);
}

TEST_F(ProfileTest, WritesChangeOnlyWhatDiffersAndKeepTheEncoding) {
    const Text file = Path("new.ini");
    EXPECT_TRUE(Write(file, "Settings", "Hotkey", u"196621"));
    EXPECT_TRUE(Write(file, "Settings", "Language", u""));
    EXPECT_TRUE(Write(file, "A_SETTINGS", "WRITED_TO", u"C:\\x"));
    EXPECT_TRUE(Write(file, "Settings", "Uni", u"\u0416\u00E9"));
    EXPECT_EQ(Bytes(file),
              "[Settings]\r\nHotkey=196621\r\nLanguage=\r\nUni=?\xE9\r\n"
              "[A_SETTINGS]\r\nWRITED_TO=C:\\x\r\n")
        << "a new file is ANSI";
    EXPECT_TRUE(Write(file, "settings", "HOTKEY", u"5"));
    EXPECT_TRUE(Remove(file, "Settings", "Language"));
    EXPECT_EQ(Bytes(file),
              "[Settings]\r\nHotkey=5\r\nUni=?\xE9\r\n[A_SETTINGS]\r\nWRITED_TO=C:\\x\r\n");

    // Nothing to change: the file keeps its own layout.
    const Text untouched = Path("untouched.ini");
    const std::string layout = "[S]\r\n  k = 1 \r\n\r\n";
    WriteBytes(untouched, layout);
    EXPECT_TRUE(Write(untouched, "S", "k", u"1"));
    EXPECT_TRUE(Remove(untouched, "S", "missing"));
    EXPECT_EQ(Bytes(untouched), layout);

    // A language file stays UTF-16 for any script a translator uses.
    const Text utf16 = Path("utf16.ini");
    WriteBytes(utf16, Utf16File(u"[Settings]\r\n  Hotkey = 5 \r\n\r\n[Other]\n"));
    EXPECT_TRUE(Write(utf16, "Settings", "New", u"\u0416"));
    EXPECT_TRUE(Write(utf16, "Added", "k", u"v"));
    EXPECT_EQ(Bytes(utf16), Utf16File(u"[Settings]\r\nHotkey=5\r\nNew=\u0416\r\n[Other]\r\n"
                                      u"[Added]\r\nk=v\r\n"));
    // A file saved as UTF-8 stays UTF-8.
    const Text utf8 = Path("utf8.ini");
    WriteBytes(utf8, "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\n");
    EXPECT_TRUE(Write(utf8, "S", "j", u"\u0416"));
    EXPECT_EQ(Bytes(utf8), "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\nj=\xD0\x96\r\n");
}

TEST_F(ProfileTest, SectionsAreReadInFileOrderAndReplacedWhole) {
    const Text file = Path("section.ini");
    WriteBytes(file, Utf16File(u"[Settings]\r\n  Hotkey = 5 \r\nQ=\"quoted\"\r\n;comment=x\r\n"
                               u"noequals\r\nDup=1\r\ndup=2\r\nEmpty=\r\n[Next]\r\nx=1\r\n"));
    const std::vector<Text> lines = {u"Hotkey=5", u"Q=\"quoted\"", u"noequals",
                                     u"Dup=1",    u"dup=2",        u"Empty="};
    EXPECT_EQ(profile().GetSection(file, u"SETTINGS", 102400), lines);
    EXPECT_EQ(profile().GetSection(file, u"Missing", 102400), std::vector<Text>());

    // Writing a section replaces every key of that section only.
    const Text written = Path("section-write.ini");
    EXPECT_TRUE(profile().WriteSection(written, u"Files", {u"DataType=0", u"File0=a.txt"}));
    EXPECT_EQ(Bytes(written), "[Files]\r\nDataType=0\r\nFile0=a.txt\r\n");

    WriteBytes(written,
               "[Other]\r\nk=1\r\n[files]\r\nFile0=old\r\nFile1=stale\r\n[Last]\r\nz=2\r\n");
    EXPECT_TRUE(
        profile().WriteSection(written, u"Files", {u"file0=new", u"noequals", u"Protected=1"}));
    EXPECT_EQ(Bytes(written),
              "[Other]\r\nk=1\r\n[files]\r\nfile0=new\r\nProtected=1\r\n[Last]\r\nz=2\r\n");
}

TEST_F(ProfileTest, StructsCarryAChecksumByte) {
    const Text file = Path("struct.ini");
    const uint8_t bytes[5] = {0x01, 0xAB, 0xFF, 0x00, 0x10};
    ASSERT_TRUE(profile().WriteStruct(file, u"S", u"Font", bytes, sizeof bytes));
    EXPECT_EQ(Bytes(file), "[S]\r\nFont=01ABFF0010BB\r\n");
    uint8_t back[5] = {};
    EXPECT_TRUE(profile().GetStruct(file, u"s", u"FONT", back, 5));
    EXPECT_EQ(std::vector<uint8_t>(back, back + 5), std::vector<uint8_t>(bytes, bytes + 5));
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"Font", back, 4)) << "another size";
    WriteBytes(file, "[S]\r\nsum=01ABFF0010BC\r\nlower=01abff0010bb\r\n");
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"sum", back, 5));
    EXPECT_TRUE(profile().GetStruct(file, u"S", u"lower", back, 5));
}

TEST_F(ProfileTest, MissingFilesGiveDefaultsAndAreNotCreatedByRemoving) {
    const Text file = Path("absent.ini");
    uint8_t data[2] = {};
    EXPECT_EQ(Get(file, "S", "k"), u"DEF");
    EXPECT_EQ(profile().GetInt(file, u"S", u"k", -7), -7);
    EXPECT_TRUE(profile().GetSection(file, u"S", 102400).empty());
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"k", data, 2));
    EXPECT_TRUE(Remove(file, "S", "k"));
    EXPECT_EQ(P().files.Kind(file), platform::PathKind::Missing);
    EXPECT_FALSE(Write(Dir() + u"no folder\\x.ini", "S", "k", u"v"));
}

}  // namespace
}  // namespace wlk::test
