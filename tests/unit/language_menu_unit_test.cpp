// Menu translation, the "Language" submenu and switching the language, on
// the simulated platform.
#include "language/active_language.h"
#include "language/interface_strings.h"
#include "language/language_list.h"
#include "language/language_switch.h"
#include "language/menu_translation.h"
#include "platform/sim/sim_menu.h"
#include "platform/text.h"
#include "settings/options_changed.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::sim::SimMenu;

const Text kFolder = u"C:\\Program Files\\Wordlark\\";

class LanguageMenuTest : public PlatformTest {
protected:
    void TearDown() override {
        language::LoadLanguage(Text(), false, Text());
        PlatformTest::TearDown();
    }
    // A tray menu in the shape of the program's: commands, a separator, and
    // a "Language" submenu whose first item opens the translation page.
    SimMenu TrayMenu() {
        SimMenu menu;
        menu.Append(57664, u"&About Wordlark\u2026\tF1");
        menu.AppendSeparator();
        auto language = menu.AppendSubmenu(u"&Language");
        language->Append(language::kLocalizeHelpCommand, u"How To Localize Wordlark?");
        language->AppendSeparator();
        language->Append(33000, u"stale entry");
        menu.Append(57665, u"E&xit");
        return menu;
    }
    std::vector<Text> LanguageItems(SimMenu& tray) {
        auto submenu = tray.Submenu(2);
        std::vector<Text> texts;
        for (int i = 0; i < submenu->Count(); ++i) {
            auto item = submenu->Item(i);
            texts.push_back(item->separator ? u"-" : ToText(item->id) + u" " + item->text);
        }
        return texts;
    }
};

TEST_F(LanguageMenuTest, OnlyTheActiveSectionsAreReadAndOnlyWithWriteBackWritten) {
    const Text lng = kFolder + u"de.lng";
    WriteUtf16(lng,
               "[Menu]\r\nExit=Beenden\r\n[Menu_Editor]\r\nExit=Schliessen\r\n"
               "[Strings]\r\n138=Ende\r\n[Strings_Editor]\r\n138=Schluss\r\n");
    language::LoadLanguage(lng, false, Text());
    SimMenu menu = TrayMenu();
    language::LocalizeMenu(menu);
    EXPECT_EQ(menu.Item(3)->text, u"Beenden");
    EXPECT_EQ(IniValue(lng, u"Menu", u"Language"), u"<missing>") << "only read";

    language::LoadLanguage(lng, true, u"_Editor");
    SimMenu editor = TrayMenu();
    language::LocalizeMenu(editor);
    EXPECT_EQ(editor.Item(3)->text, u"Schliessen");
    EXPECT_EQ(language::GetString(138), u"Schluss");
    EXPECT_EQ(IniValue(lng, u"Menu_Editor", u"Language"), u"Language");
}

TEST_F(LanguageMenuTest, LanguageListMarksTheCurrentLanguage) {
    WriteUtf16(kFolder + u"ru.lng",
               "[Main]\r\nLangPrefix=ru\r\nLangLocalized="
               "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9\r\n");
    WriteUtf16(kFolder + u"de.lng", "[Main]\r\nLangPrefix=de\r\n");
    WriteUtf16(kFolder + u"LocalizeExample.lng", "[Main]\r\nLangLocalized=Example\r\n");

    // With no language chosen at start the example file, standing for English, is active.
    language::LoadLanguage(kFolder + u"LocalizeExample.lng", true, Text());
    SimMenu tray = TrayMenu();
    ASSERT_TRUE(language::RebuildLanguageMenu(tray));
    EXPECT_EQ(
        LanguageItems(tray),
        (std::vector<Text>{u"32776 How To Localize Wordlark?", u"-", u"33000 English (Embedded)",
                           u"33001 de", u"33002 \u0420\u0443\u0441\u0441\u043A\u0438\u0439"}));
    auto submenu = tray.Submenu(2);
    // The default position and whether English (2) and Russian (4) are checked.
    auto marks = [&] {
        return std::tuple(submenu->DefaultPosition(), submenu->IsChecked(2), submenu->IsChecked(4));
    };
    EXPECT_EQ(marks(), std::tuple(2, true, false));

    language::LoadLanguage(kFolder + u"RU.LNG", false, Text());
    ASSERT_TRUE(language::RebuildLanguageMenu(tray));
    EXPECT_EQ(LanguageItems(tray).size(), 5u) << "rebuilding replaces, never adds";
    EXPECT_EQ(marks(), std::tuple(4, false, true));

    SimMenu noLanguageMenu;
    noLanguageMenu.Append(57665, u"Exit");
    EXPECT_FALSE(language::RebuildLanguageMenu(noLanguageMenu));
}

TEST_F(LanguageMenuTest, SwitchingStoresTheChoiceAndLoadsIt) {
    WriteUtf16(kFolder + u"ru.lng",
               "[Strings]\r\n137=\xD0\xA3\xD0\xB6\xD0\xB5 "
               "\xD1\x80\xD0\xB0\xD0\xB1\xD0\xBE\xD1\x82\xD0\xB0\xD0\xB5\xD1\x82\r\n");
    WriteUtf16(kFolder + u"de.lng", "[Strings]\r\n137=Laeuft schon\r\n");
    settings::Settings settings;
    language::LoadStartupLanguage(settings);

    // 33000 English, 33001 de.lng, 33002 ru.lng. The product's other programs
    // are told, and find every setting saved.
    ASSERT_TRUE(settings::OptionsChangedEvent::Instance().Create());
    auto changed =
        P().sync.OpenEvent(settings::kOptionsChangedEventName, platform::EventAccess::Synchronize);
    platform::Event* waited[] = {changed.get()};
    ASSERT_TRUE(language::SwitchLanguage(33002, settings));
    EXPECT_EQ(P().sync.WaitAny(waited, 10000), platform::kWaitObject0);
    settings::OptionsChangedEvent::Instance().Close();
    const Text ini = settings::WriteSettingsPath();
    EXPECT_EQ(P().profile.GetString(ini, u"Settings", u"Language", u"", 100), u"ru.lng");
    EXPECT_EQ(language::GetString(137),
              u"\u0423\u0436\u0435 \u0440\u0430\u0431\u043E\u0442\u0430\u0435\u0442");

    EXPECT_FALSE(language::SwitchLanguage(33003, settings)) << "no fourth language";

    // Another program's choice is picked up on reload, without write-back.
    P().profile.WriteString(ini, u"Settings", u"Language", Text(u"de.lng"));
    language::ReloadLanguage(settings);
    EXPECT_EQ(language::GetString(137), u"Laeuft schon");
    EXPECT_FALSE(language::CurrentLanguage().writeBack);
}

}  // namespace
}  // namespace wlk::test
