// Language files through the real profile functions: the example file, translations,
// English texts written back, and files that cannot be read as they should.
#include "language/language_file.h"

#include <algorithm>

#include "language/active_language.h"
#include "language/interface_strings.h"
#include "language/language_list.h"
#include "language/language_switch.h"
#include "language/menu_translation.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

#ifdef _WIN32
#include "platform/win32/win32_menu.h"
using TestMenus = wlk::platform::win32::Win32Menus;
#else
#include "platform/sim/sim_menu.h"
using TestMenus = wlk::platform::sim::SimMenus;
#endif

namespace wlk::test {
namespace {

class LanguageFileTest : public PlatformTest {
protected:
    void TearDown() override {
        language::LoadLanguage(Text(), false, Text());
        for (const Text& path : programFolderFiles) {
            P().files.SetReadOnly(path, false);
            P().files.DeleteFile(path);
        }
        PlatformTest::TearDown();
    }
    // Files beside the program (the test program under Wine), removed afterwards.
    Text ProgramFolderFile(const char* name) {
        programFolderFiles.push_back(language::LanguageFolder() + T(name));
        P().files.DeleteFile(programFolderFiles.back());
        return programFolderFiles.back();
    }

    std::vector<Text> programFolderFiles;
};

TEST_F(LanguageFileTest, WithoutAChosenLanguageTheExampleFileCollectsEnglish) {
    const Text example = ProgramFolderFile("LocalizeExample.lng");
    ProgramFolderFile("Settings.ini");
    settings::Settings settings;  // "Language" empty
    language::LoadStartupLanguage(settings);
    EXPECT_EQ(language::CurrentLanguage().path, example);

    EXPECT_EQ(Bytes(example).substr(0, 2), kBom16) << "UTF-16 for any script a translator uses";
    EXPECT_EQ(IniValue(example, u"Main", u"LangPrefix"), u"En");
    EXPECT_EQ(IniValue(example, u"Main", u"Author"), u"Type Your name and email (optional)");
    EXPECT_EQ(IniValue(example, u"Main", u"LangLocalized"),
              u"English (Type localized name of language here)");

    // Asked twice, a string is listed once.
    EXPECT_EQ(language::GetString(137), u"Already works");
    EXPECT_EQ(language::GetString(261), u"Edit menu\\settings");
    language::GetString(137);
    EXPECT_EQ(IniKeys(example, u"Strings"), (std::vector<Text>{u"137", u"261"}));
    EXPECT_EQ(IniValue(example, u"Strings", u"261"), u"Edit menu\\settings");

    // A translator filling in the example sees the translation at once.
    P().profile.WriteString(example, u"Strings", u"137", Text(u"Works already"));
    EXPECT_EQ(language::GetString(137), u"Works already");
    // Loading again leaves an existing file alone.
    language::LoadStartupLanguage(settings);
    EXPECT_EQ(IniValue(example, u"Strings", u"137"), u"Works already");
}

TEST_F(LanguageFileTest, TranslationsShowLineBreaksAndEnglishIsListedBesideThem) {
    const Text lng = Path("de.lng");
    WriteUtf16(lng,
               "[Main]\r\nLangPrefix=de\r\n[Strings]\r\n"
               "250=Maus\\nereignis\\r\\n\\terkannt\r\n148=\r\n");
    language::LoadLanguage(lng, false, Text());
    EXPECT_EQ(language::GetString(250), u"Maus\nereignis\r\n\terkannt");
    EXPECT_EQ(language::GetString(148), u"Right click on the icon for showing of menu")
        << "an empty value is no translation";
    EXPECT_EQ(language::GetString(137), u"Already works");

    const Text example = Path("LocalizeExample.lng");
    EXPECT_EQ(IniKeys(example, u"Strings"), (std::vector<Text>{u"250", u"148", u"137"}));
    EXPECT_EQ(IniValue(lng, u"Strings", u"137"), u"<missing>") << "loaded without write-back";
}

TEST_F(LanguageFileTest, UnreadableFilesGiveEnglishAndNeverCrash) {
    const Text lng = Path("bad.lng");
    const std::string translated = "[Strings]\r\n137=Schon da\r\n";
    const std::string broken[] = {
        std::string("\x00\x01\xFF\xFE\x00[Strings]\x00\x89PNG", 15),  // binary junk
        Utf16Bytes(translated),                                       // UTF-16 without BOM
        kBom16 + Utf16Bytes("[Strings]\r\n0137=x\r\n137 x=y\r\nabc=z\r\n=w\r\n"),  // unknown keys
        kBom16 + Utf16Bytes("[Strings]\r\n137={25D447B2-EA72-4999-BE79-DB8DF18BDE0B}\r\n"),
        kBom16 + Utf16Bytes("[Strings]\r\n" + std::string(70000, 'k') + "=v\r\n"),
    };
    for (const std::string& bytes : broken) {
        WriteBytes(lng, bytes);
        language::LoadLanguage(lng, false, Text());
        EXPECT_EQ(language::GetString(137), u"Already works")
            << testing::PrintToString(bytes.substr(0, 40));
    }
    // Without a byte order mark an ASCII file still reads.
    WriteBytes(lng, translated);
    language::LoadLanguage(lng, false, Text());
    EXPECT_EQ(language::GetString(137), u"Schon da");
}

TEST_F(LanguageFileTest, MenusAreTranslatedAndOnlyEnglishKeysListed) {
    const Text lng = Path("de.lng");
    WriteUtf16(lng,
               "[Menu]\r\nAbout_Wordlark=\xC3\x9C"
               "ber Wordlark\r\nVisit_to_F.A.Q=H\xC3\xA4ufige Fragen\r\nLanguage=Sprache\r\n"
               "Exit=Beenden\r\nHow_To_Localize_Wordlark?=\r\n");
    language::LoadLanguage(lng, true, Text());

    TestMenus menus;
    auto menu = menus.CreatePopup();
    ASSERT_TRUE(menu);
    menu->Append(57664, u"&About Wordlark\u2026\tCtrl+F1");
    menu->AppendSeparator();
    auto help = menu->AppendSubmenu(u"&Language");
    ASSERT_TRUE(help);
    help->Append(32825, u"Visit to F.A.Q.");
    help->Append(32783, u"Email To Us...");
    // An empty translation is a key still waiting for its translator.
    help->Append(32776, u"How To Localize Wordlark?");
    // Texts a menu may already show in another script.
    help->Append(33001, u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439");
    help->Append(33002, u"Fran\u00E7ais");
    menu->Append(57665, u"E&xit");
    language::LocalizeMenu(*menu, {57665});

    EXPECT_EQ(menu->Item(0)->text, u"\u00DCber Wordlark\tCtrl+F1");
    EXPECT_EQ(menu->Item(2)->text, u"Sprache") << "a submenu's own item is translated too";
    EXPECT_EQ(menu->Item(3)->text, u"E&xit") << "excluded";
    EXPECT_EQ(menu->Submenu(2)->Item(0)->text, u"H\u00E4ufige Fragen");
    EXPECT_EQ(menu->Submenu(2)->Item(1)->text, u"Email To Us...");
    EXPECT_EQ(menu->Submenu(2)->Item(2)->text, u"How To Localize Wordlark?");
    EXPECT_EQ(IniKeys(lng, u"Menu"),
              (std::vector<Text>{u"About_Wordlark", u"Visit_to_F.A.Q", u"Language", u"Exit",
                                 u"How_To_Localize_Wordlark?", u"Email_To_Us"}));
    EXPECT_EQ(IniValue(lng, u"Menu", u"Email_To_Us"), u"Email To Us...");
}

TEST_F(LanguageFileTest, LanguageListHoldsTheLngFilesSortedIgnoringCase) {
    const std::pair<const char*, const char*> files[] = {
        {"LocalizeExample.lng", "[Main]\r\nLangLocalized=Example\r\n"},
        {"zu.lng", "[Main]\r\nLangLocalized=isiZulu\r\n"},
        {"De.lng", "[Main]\r\nLangPrefix=de\r\n"},
        {"cy.lng", "[Main]\r\n"},
        {"old.lngx", "[Main]\r\n"},
    };
    for (const auto& [name, content] : files) WriteUtf16(ProgramFolderFile(name), content);

    // Under Wine the test program's folder may hold other languages too.
    std::vector<Text> ours;
    for (const auto& entry : language::ListLanguages()) {
        if (std::count(programFolderFiles.begin(), programFolderFiles.end(), entry.path))
            ours.push_back(entry.fileName);
    }
    EXPECT_EQ(ours, (std::vector<Text>{u"cy.lng", u"De.lng", u"zu.lng"})) << "sorted ignoring case";
}

}  // namespace
}  // namespace wlk::test
