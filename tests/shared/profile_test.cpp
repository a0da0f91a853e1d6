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
        u"Empty=\r\n"
        u"Dup=first\r\n"
        u"dup=second\r\n"
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
        EXPECT_EQ(Get(file, "Settings", "Empty"), u"");
        EXPECT_EQ(Get(file, "Settings", "Language", 4), u"caf") << "cut to the buffer";
        EXPECT_EQ(Get(file, "Settings", "DUP"), u"first");
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

TEST_F(ProfileTest, MissingFilesGiveDefaultsAndAreNotCreatedByRemoving) {
    const Text file = Path("absent.ini");
    EXPECT_EQ(Get(file, "S", "k"), u"DEF");
    EXPECT_TRUE(Remove(file, "S", "k"));
    EXPECT_EQ(P().files.Kind(file), platform::PathKind::Missing);
    EXPECT_FALSE(Write(Dir() + u"no folder\\x.ini", "S", "k", u"v"));
}

}  // namespace
}  // namespace wlk::test
