// The profile (INI) functions the settings live in. Natively these run
// against the simulation, in the Windows build against the real functions
// under Wine; the expectations are what Wine does, odd parts included.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

const std::string kBom16 = "\xFF\xFE";

std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += char(c & 0xFF);
        bytes += char(c >> 8);
    }
    return bytes;
}

std::string Utf16File(std::u16string_view text) {
    return kBom16 + Utf16(text);
}

class ProfileTest : public PlatformTest {
protected:
    platform::Profile& profile() { return P().profile; }
    Text Get(const Text& file, const char* section, const char* key, size_t chars = 1024) {
        return profile().GetString(file, T(section), T(key), u"DEF", chars);
    }
    int Int(const Text& file, const char* key) { return profile().GetInt(file, u"I", T(key), 77); }
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
        u"top=1\r\n"
        u"  [ Settings ]  \r\n"
        u"  Language  =  caf\u00E9  \r\n"
        u"Quoted=\"  padded  \"\r\n"
        u"Single='x'\r\n"
        u"Half=\"open\r\n"
        u"noequals\r\n"
        u"Dup=first\r\n"
        u"dup=second\r\n"
        u";Hotkey=5\r\n"
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
        EXPECT_EQ(Get(file, "", "top"), u"1");
        EXPECT_EQ(Get(file, "SETTINGS", " language "), u"caf\u00E9");
        EXPECT_EQ(Get(file, "Settings", "Quoted"), u"  padded  ");
        EXPECT_EQ(Get(file, "Settings", "Single"), u"x");
        EXPECT_EQ(Get(file, "Settings", "Half"), u"\"open");
        EXPECT_EQ(Get(file, "Settings", "noequals"), u"DEF");
        EXPECT_EQ(Get(file, "Settings", "DUP"), u"first");
        // A ';' line is an ordinary key to a string read; only the section
        // read leaves it out.
        EXPECT_EQ(Get(file, "Settings", ";Hotkey"), u"5");
        EXPECT_EQ(Get(file, "Settings", "Hotkey"), u"DEF");
        EXPECT_EQ(Get(file, "Settings", "Inline"), u"a ; b");
        // A second section of the same name is never looked at.
        EXPECT_EQ(Get(file, "Settings", "Later"), u"DEF");
    }
}

TEST_F(ProfileTest, StringReadsAreCutToTheBufferAndLoseQuotes) {
    const Text file = Path("cut.ini");
    WriteBytes(file, "[S]\r\nplain=abcdef\r\nq=\"quoted\"\r\nempty=\"\"\r\n");
    EXPECT_EQ(Get(file, "S", "plain", 7), u"abcdef");
    EXPECT_EQ(Get(file, "S", "plain", 4), u"abc");
    EXPECT_EQ(Get(file, "S", "plain", 1), u"");
    EXPECT_EQ(Get(file, "S", "q", 9), u"quoted");
    EXPECT_EQ(Get(file, "S", "q", 8), u"quoted");
    // With room for all but the closing quote, the last letter goes too.
    EXPECT_EQ(Get(file, "S", "q", 7), u"quote");
    EXPECT_EQ(Get(file, "S", "q", 4), u"quo");
    EXPECT_EQ(Get(file, "S", "empty"), u"");
    // The default loses trailing spaces and quotes, and is cut the same way.
    EXPECT_EQ(profile().GetString(file, u"S", u"none", u"  spaced  ", 100), u"  spaced");
    EXPECT_EQ(profile().GetString(file, u"S", u"none", u"\"def\"", 100), u"def");
    EXPECT_EQ(profile().GetString(file, u"S", u"none", u"default", 4), u"def");
}

TEST_F(ProfileTest, IntReadsParseLikeWine) {
    const Text file = Path("ints.ini");
    WriteBytes(file,
               "[I]\r\n"
               "lead= 12\r\nneg=-5\r\nplus=+5\r\ntail=12abc\r\nword=abc\r\nempty=\r\nblank=  \r\n"
               "hex=0x1F\r\nbigx=0X1F\r\nneghex=-0x10\r\nall=4294967295\r\nhuge=99999999999\r\n"
               "quoted=\"42\"\r\nnone=\"\"\r\nsplit=- 5\r\nreal=3.9\r\n"
               "len29=00000000000000000000000000007\r\nlen30=000000000000000000000000000007\r\n");
    EXPECT_EQ(Int(file, "lead"), 12);
    EXPECT_EQ(Int(file, "neg"), -5);
    EXPECT_EQ(Int(file, "plus"), 5);
    EXPECT_EQ(Int(file, "tail"), 12);
    EXPECT_EQ(Int(file, "word"), 0);
    EXPECT_EQ(Int(file, "empty"), 77);
    EXPECT_EQ(Int(file, "blank"), 77);
    EXPECT_EQ(Int(file, "hex"), 31);
    EXPECT_EQ(Int(file, "bigx"), 0) << "only a lower-case 0x means hex";
    EXPECT_EQ(Int(file, "neghex"), -16);
    EXPECT_EQ(Int(file, "all"), -1);
    EXPECT_EQ(Int(file, "huge"), 1215752191) << "wraps at 32 bits";
    EXPECT_EQ(Int(file, "quoted"), 42);
    EXPECT_EQ(Int(file, "none"), 77);
    EXPECT_EQ(Int(file, "split"), 0);
    EXPECT_EQ(Int(file, "real"), 3);
    // The value goes through a buffer of 30 characters first.
    EXPECT_EQ(Int(file, "len29"), 7);
    EXPECT_EQ(Int(file, "len30"), 0);
    EXPECT_EQ(Int(file, "missing"), 77);
    EXPECT_EQ(profile().GetInt(file, u"Nowhere", u"lead", -3), -3);
}

TEST_F(ProfileTest, NewFileIsAnsiAndWritesChangeOnlyWhatDiffers) {
    const Text file = Path("new.ini");
    EXPECT_TRUE(Write(file, "Settings", "Hotkey", u"196621"));
    EXPECT_TRUE(Write(file, "Settings", "Language", u""));
    EXPECT_TRUE(Write(file, "A_SETTINGS", "WRITED_TO", u"C:\\x"));
    EXPECT_TRUE(Write(file, "Settings", "Uni", u"\u0416\u00E9"));
    EXPECT_EQ(Bytes(file),
              "[Settings]\r\nHotkey=196621\r\nLanguage=\r\nUni=?\xE9\r\n"
              "[A_SETTINGS]\r\nWRITED_TO=C:\\x\r\n");

    EXPECT_TRUE(Write(file, "settings", "HOTKEY", u"5"));
    EXPECT_TRUE(Remove(file, "Settings", "Language"));
    EXPECT_TRUE(Write(file, "A_SETTINGS", "Padded", u"  v  "));
    EXPECT_EQ(Bytes(file),
              "[Settings]\r\nHotkey=5\r\nUni=?\xE9\r\n"
              "[A_SETTINGS]\r\nWRITED_TO=C:\\x\r\nPadded=v  \r\n");
    EXPECT_EQ(Get(file, "A_SETTINGS", "Padded"), u"v");

    // Nothing to change: the file keeps its own layout.
    const Text untouched = Path("untouched.ini");
    const std::string layout = "[S]\r\n  k = 1 \r\n\r\n";
    WriteBytes(untouched, layout);
    EXPECT_TRUE(Write(untouched, "S", "k", u"1"));
    EXPECT_TRUE(Remove(untouched, "S", "missing"));
    EXPECT_TRUE(Remove(untouched, "Missing", "k"));
    EXPECT_EQ(Bytes(untouched), layout);
}

TEST_F(ProfileTest, RewriteKeepsTheEncodingAndLaysTheFileOutAgain) {
    const Text file = Path("utf16.ini");
    WriteBytes(file, Utf16File(u"; comment\r\n[Settings]\r\n  Hotkey = 5 \r\nnoequals\r\n"
                               u"\r\n[Other]\n[settings]\nz=1"));
    EXPECT_TRUE(Write(file, "Settings", "New", u"\u0416"));
    EXPECT_TRUE(Write(file, "Added", "k", u"v"));
    EXPECT_EQ(Bytes(file), Utf16File(u"; comment\r\n[Settings]\r\nHotkey=5\r\nnoequals\r\n"
                                     u"New=\u0416\r\n[Other]\r\n[settings]\r\nz=1\r\n"
                                     u"[Added]\r\nk=v\r\n"));

    const Text ansi = Path("ansi.ini");
    WriteBytes(ansi, "[S]\nk=caf\xE9\n");
    EXPECT_TRUE(Write(ansi, "S", "j", u"\u00E9"));
    EXPECT_EQ(Bytes(ansi), "[S]\r\nk=caf\xE9\r\nj=\xE9\r\n");

    const Text utf8 = Path("utf8.ini");
    WriteBytes(utf8, "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\n");
    EXPECT_TRUE(Write(utf8, "S", "j", u"\u0416"));
    EXPECT_EQ(Bytes(utf8), "\xEF\xBB\xBF[S]\r\nk=\xC3\xA9\r\nj=\xD0\x96\r\n");
}

TEST_F(ProfileTest, SectionReadGivesTheLinesInFileOrder) {
    const Text file = Path("section.ini");
    WriteBytes(file, Utf16File(u"[Settings]\r\n  Hotkey = 5 \r\nQ=\"quoted\"\r\n;comment=x\r\n"
                               u"noequals\r\n=noname\r\nDup=1\r\ndup=2\r\nEmpty=\r\n"
                               u"[Next]\r\nx=1\r\n"));
    const std::vector<Text> lines = {u"Hotkey=5", u"Q=\"quoted\"", u"noequals", u"=noname",
                                     u"Dup=1",    u"dup=2",        u"Empty="};
    EXPECT_EQ(profile().GetSection(file, u"Settings", 102400), lines);
    EXPECT_EQ(profile().GetSection(file, u"SETTINGS", 102400), lines);
    // Unlike the other reads, this one does not trim the name it is given.
    EXPECT_EQ(profile().GetSection(file, u" Settings", 102400), std::vector<Text>());
    EXPECT_EQ(profile().GetSection(file, u"Missing", 102400), std::vector<Text>());

    // Each line takes a NUL and two stay free for the end: what does not fit
    // is cut and ends the list.
    const Text small = Path("small.ini");
    WriteBytes(small, "[S]\r\nKey=Val\r\nQ=\"quoted\"\r\nab=c\r\n");
    using Lines = std::vector<Text>;
    EXPECT_EQ(profile().GetSection(small, u"S", 26), (Lines{u"Key=Val", u"Q=\"quoted\"", u"ab=c"}));
    EXPECT_EQ(profile().GetSection(small, u"S", 21), (Lines{u"Key=Val", u"Q=\"quoted\""}));
    EXPECT_EQ(profile().GetSection(small, u"S", 15), (Lines{u"Key=Val", u"Q=\"qu"}));
    EXPECT_EQ(profile().GetSection(small, u"S", 10), (Lines{u"Key=Val"}));
    EXPECT_EQ(profile().GetSection(small, u"S", 8), (Lines{u"Key=Va"}));
}

TEST_F(ProfileTest, SectionWriteReplacesEveryKeyOfThatSectionOnly) {
    const Text file = Path("section-write.ini");
    EXPECT_TRUE(profile().WriteSection(file, u"Files", {u"DataType=0", u"File0=a.txt"}));
    EXPECT_EQ(Bytes(file), "[Files]\r\nDataType=0\r\nFile0=a.txt\r\n");

    WriteBytes(file, "[Other]\r\nk=1\r\n[files]\r\nFile0=old\r\nFile1=stale\r\n[Last]\r\nz=2\r\n");
    EXPECT_TRUE(
        profile().WriteSection(file, u"Files", {u"file0=new", u"noequals", u"Protected=1"}));
    EXPECT_EQ(Bytes(file),
              "[Other]\r\nk=1\r\n[files]\r\nfile0=new\r\nProtected=1\r\n[Last]\r\nz=2\r\n");
}

TEST_F(ProfileTest, StructsCarryAChecksumByte) {
    const Text file = Path("struct.ini");
    const uint8_t bytes[5] = {0x01, 0xAB, 0xFF, 0x00, 0x10};
    ASSERT_TRUE(profile().WriteStruct(file, u"S", u"Font", bytes, sizeof bytes));
    EXPECT_EQ(Bytes(file), "[S]\r\nFont=01ABFF0010BB\r\n");
    uint8_t back[6] = {};
    EXPECT_TRUE(profile().GetStruct(file, u"s", u"FONT", back, 5));
    EXPECT_EQ(std::memcmp(back, bytes, 5), 0);
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"Font", back, 4));
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"Font", back, 6));

    // A LOGFONTW-sized block in a UTF-16 file.
    const Text wide = Path("wide.ini");
    WriteBytes(wide, Utf16File(u"[S]\r\n"));
    std::vector<uint8_t> font(92), fontBack(92);
    for (size_t i = 0; i < font.size(); ++i) font[i] = uint8_t(i * 37 + 11);
    ASSERT_TRUE(profile().WriteStruct(wide, u"S", u"Font", font.data(), font.size()));
    EXPECT_TRUE(profile().GetStruct(wide, u"S", u"Font", fontBack.data(), fontBack.size()));
    EXPECT_EQ(font, fontBack);
    EXPECT_EQ(Bytes(wide).substr(0, 2), kBom16);
    ASSERT_TRUE(profile().WriteStruct(wide, u"S", u"Font", nullptr, 0));
    EXPECT_EQ(Get(wide, "S", "Font"), u"DEF");
}

TEST_F(ProfileTest, StructReadsCheckLengthDigitsAndSum) {
    const Text file = Path("hex.ini");
    WriteBytes(file,
               "[S]\r\nlower=01abff0010bb\r\nsum=01ABFF0010BC\r\nshort=01ABFF0010B\r\n"
               "padded=  01ABFF0010BB  \r\nquoted=\"01ABFF0010BB\"\r\nlonger=0101FF\r\n"
               "letter=0G10\r\ncolon=0:0A\r\n");
    uint8_t data[5] = {};
    EXPECT_TRUE(profile().GetStruct(file, u"S", u"lower", data, 5));
    EXPECT_TRUE(profile().GetStruct(file, u"S", u"padded", data, 5));
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"quoted", data, 5));
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"missing", data, 5));

    // A bad sum fails only after the bytes were stored: a caller must read
    // into a copy to keep its default.
    std::memset(data, 0xEE, sizeof data);
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"sum", data, 5));
    EXPECT_EQ(data[1], 0xAB);
    std::memset(data, 0xEE, sizeof data);
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"short", data, 5));
    EXPECT_EQ(data[0], 0xEE);

    // Wine's leniencies: text after the checksum byte is ignored, and any
    // letter is a digit ('G' is 16); other characters fail.
    EXPECT_TRUE(profile().GetStruct(file, u"S", u"longer", data, 1));
    EXPECT_TRUE(profile().GetStruct(file, u"S", u"letter", data, 1));
    EXPECT_EQ(data[0], 0x10);
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"colon", data, 1));
}

TEST_F(ProfileTest, OddLengthUtf16FileKeepsItsWholeLines) {
    const Text file = Path("odd.ini");
    const std::string whole = Utf16File(u"[S]\r\nKey=Val\r\nK2=abc");
    WriteBytes(file, whole + "x");
    EXPECT_EQ(Get(file, "S", "Key"), u"Val");
    // The stray byte becomes one more character with that low byte; Wine
    // fills its high byte from memory, so only the low byte is known.
    const Text last = Get(file, "S", "K2");
    ASSERT_EQ(last.size(), 4u);
    EXPECT_EQ(last.substr(0, 3), u"abc");
    EXPECT_EQ(last[3] & 0xFF, u'x');

    EXPECT_TRUE(Write(file, "S", "B", u"2"));
    const std::string bytes = Bytes(file);
    EXPECT_EQ(bytes.size() % 2, 0u);
    EXPECT_EQ(bytes.substr(0, whole.size()), whole);
    EXPECT_EQ(bytes.substr(whole.size(), 1), "x");
    EXPECT_EQ(bytes.substr(whole.size() + 2), Utf16(u"\r\nB=2\r\n"));
}

TEST_F(ProfileTest, VeryLongLinesReadWhole) {
    const Text file = Path("long.ini");
    const Text value(70000, u'x');
    WriteBytes(file, Utf16File(u"[S]\r\nLong=" + value + u"\r\nAfter=1\r\n"));
    EXPECT_EQ(Get(file, "S", "Long", 80000), value);
    EXPECT_EQ(Get(file, "S", "Long", 5), u"xxxx");
    EXPECT_EQ(Get(file, "S", "After"), u"1");
    const auto lines = profile().GetSection(file, u"S", 102400);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], u"Long=" + value);

    const Text written(5000, u'\u00E9');
    EXPECT_TRUE(Write(file, "S", "Written", written));
    EXPECT_EQ(Get(file, "S", "Written", 6000), written);
    EXPECT_EQ(Get(file, "S", "After"), u"1");
}

TEST_F(ProfileTest, MissingFilesGiveDefaultsAndAreNotCreatedByRemoving) {
    const Text file = Path("absent.ini");
    uint8_t data[2] = {};
    EXPECT_EQ(Get(file, "S", "k"), u"DEF");
    EXPECT_EQ(profile().GetInt(file, u"S", u"k", -7), -7);
    EXPECT_TRUE(profile().GetSection(file, u"S", 102400).empty());
    EXPECT_FALSE(profile().GetStruct(file, u"S", u"k", data, 2));
    EXPECT_TRUE(Remove(file, "S", "k"));
    EXPECT_TRUE(profile().WriteStruct(file, u"S", u"k", nullptr, 0));
    EXPECT_EQ(P().files.Kind(file), platform::PathKind::Missing);
    EXPECT_FALSE(Write(Dir() + u"no folder\\x.ini", "S", "k", u"v"));
}

TEST_F(ProfileTest, WritesGoToTheFirstOfRepeatedSections) {
    const Text file = Path("repeat.ini");
    WriteBytes(file, "top=1\r\n[A]\r\nk=1\r\n[B]\r\n[a]\r\nm=2\r\n[]\r\ne=1\r\n");
    EXPECT_EQ(Get(file, "A", "m"), u"DEF");
    EXPECT_EQ(Get(file, "", "e"), u"DEF");
    EXPECT_TRUE(Write(file, "a", "n", u"3"));
    EXPECT_TRUE(Write(file, "", "u", u"4"));
    // An unnamed section loses its "[]": its lines join the one above.
    EXPECT_EQ(Bytes(file), "top=1\r\nu=4\r\n[A]\r\nk=1\r\nn=3\r\n[B]\r\n[a]\r\nm=2\r\ne=1\r\n");
}

}  // namespace
}  // namespace wlk::test
