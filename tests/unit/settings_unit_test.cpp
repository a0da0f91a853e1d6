// Settings behaviour that depends on where the program runs and on
// the shared area, through the simulated platform.
#include "platform/text.h"
#include "settings/options_changed.h"
#include "settings/settings.h"
#include "settings/settings_files.h"
#include "settings/shared_settings_area.h"
#include "support/sim_access.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using settings::IntSetting;

class SettingsUnitTest : public PlatformTest {
protected:
    void TearDown() override {
        settings::SharedSettingsArea::Instance().Close();
        settings::OptionsChangedEvent::Instance().Close();
        PlatformTest::TearDown();
    }
    // Put as the user left them, whatever the folder's rights.
    void WriteIni(const Text& path, const std::string& utf8) {
        Sim().files.Put(path, Utf16File(utf8));
    }
    const Text programIni = u"C:\\Program Files\\Wordlark\\Settings.ini";
    const Text userIni = u"C:\\Users\\sim\\Wordlark\\Settings.ini";
};

TEST_F(SettingsUnitTest, WriteFileAndItsOwnKeysBesideTheProgramUnlessTheFolderIsReadOnly) {
    EXPECT_EQ(settings::WriteSettingsPath(), programIni);
    EXPECT_EQ(P().files.Kind(u"C:\\Users\\sim\\Wordlark"), platform::PathKind::Missing);

    Sim().files.DenyWrites(u"C:\\Program Files\\Wordlark");
    EXPECT_EQ(settings::WriteSettingsPath(), userIni);
    EXPECT_EQ(P().files.Kind(u"C:\\Users\\sim\\Wordlark"), platform::PathKind::Directory);
    EXPECT_EQ(Sim().files.SecurityOf(u"C:\\Users\\sim\\Wordlark"), platform::Security::Everyone);

    auto s = LoadedSettings();
    s.Save();
    EXPECT_EQ(P().files.Kind(userIni), platform::PathKind::File);
    EXPECT_EQ(P().files.Kind(programIni), platform::PathKind::Missing);

    // Keys read from the write file alone ignore the program file.
    WriteIni(userIni, "[Settings]\r\nWriteLog=0\r\n");
    WriteIni(programIni, "[Settings]\r\nWriteLog=1\r\nSorting=0\r\n");
    s = LoadedSettings();
    EXPECT_EQ(s.Get(IntSetting::WriteLog), 0);
    EXPECT_EQ(s.Get(IntSetting::Sorting), 0);
}

TEST_F(SettingsUnitTest, UsbStickAlwaysUsesTheProgramFileAnywhereElseAReadOnlyOneIsOnlyRead) {
    Sim().system.programPath = u"E:\\Tools\\Wordlark.exe";
    Sim().files.SetDriveType(u'E', platform::DriveType::Removable);
    Sim().files.Put(u"E:\\Tools\\Wordlark.exe", "MZ");
    Sim().files.DenyWrites(u"E:\\Tools");
    EXPECT_EQ(settings::WriteSettingsPath(), u"E:\\Tools\\Settings.ini");
    EXPECT_EQ(P().files.Kind(u"C:\\Users\\sim\\Wordlark"), platform::PathKind::Missing)
        << "no user folder is made from a USB stick";

    Sim().system.programPath = u"C:\\Program Files\\Wordlark\\Wordlark.exe";
    WriteIni(programIni, "[Settings]\r\nHotkey=65601\r\n");
    Sim().files.DenyWrites(programIni);
    EXPECT_EQ(settings::WriteSettingsPath(), userIni);
    EXPECT_EQ(LoadedSettings().Get(IntSetting::Hotkey), 65601) << "its keys are still read";
}

TEST_F(SettingsUnitTest, PhrasesFolderIsStoredRelativeOrEmptyExpandedOnReadAndNeverTooLong) {
    auto s = LoadedSettings();
    const Text defaultFolder = u"C:\\Program Files\\Wordlark\\UserPhrases\\";
    EXPECT_EQ(s.GetPhrasesFolder(), defaultFolder);

    // A value too long in the program file falls back to the user file; the
    // default folder, in another letter case, is read as the default.
    const std::string tooLong = "D:\\" + std::string(257, 'p');
    WriteIni(userIni, "[Settings]\r\nPhrasesDirectory=D:\\Users\r\n");
    const std::pair<std::string, Text> read[] = {
        {"Team\\Phrases", u"C:\\Program Files\\Wordlark\\Team\\Phrases\\"},
        {"%USERPROFILE%\\Phrases", u"C:\\Users\\sim\\Phrases\\"},
        {tooLong, u"D:\\Users\\"},
        {"c:\\program files\\wordlark\\userphrases", defaultFolder},
    };
    for (const auto& [value, folder] : read) {
        WriteIni(programIni, "[Settings]\r\nPhrasesDirectory=" + value + "\r\n");
        EXPECT_EQ(LoadedSettings().GetPhrasesFolder(), folder) << value;
    }
    // The default folder is stored as nothing.
    auto d = LoadedSettings();
    d.Save();
    EXPECT_EQ(IniValue(programIni, u"Settings", u"PhrasesDirectory"), u"");
    const std::pair<Text, Text> stored[] = {
        {u"C:\\Program Files\\Wordlark\\Mine\\", u"Mine"},
        {u"D:\\Shared\\Phrases\\", u"D:\\Shared\\Phrases"},
    };
    for (const auto& [folder, value] : stored) {
        d.SetPhrasesFolder(folder);
        d.Save();
        EXPECT_EQ(IniValue(programIni, u"Settings", u"PhrasesDirectory"), value) << ToUtf8(folder);
    }
}

TEST_F(SettingsUnitTest, SharedAreaHoldsTheHotkeyXml) {
    EXPECT_EQ(settings::SharedSettingsXml(13, 3, false, u""),
              "<WordlarkSettings HotKey_Key=\"13\" HotKey_Mod=\"3\" Double=\"0\" />\r\n");
    EXPECT_EQ(settings::SharedSettingsXml(32, 2, true, u"ab<c \u00e9"),
              "<WordlarkSettings HotKey_Key=\"32\" HotKey_Mod=\"2\" Double=\"1\">\r\n"
              "    <SelText>ab&lt;c \xC3\xA9</SelText>\r\n"
              "</WordlarkSettings>\r\n");

    auto s = LoadedSettings();
    ASSERT_TRUE(s.PublishHotkey(13, 3, true, u""));
    auto reader = P().shared.Open(settings::kSharedSettingsAreaName, 1024);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->ReadText(), settings::SharedSettingsXml(13, 3, true, u""));
    // A text too long for the area is refused and the old one stays.
    EXPECT_FALSE(s.PublishHotkey(13, 3, false, Text(2000, u'x')));
    EXPECT_EQ(reader->ReadText(), settings::SharedSettingsXml(13, 3, true, u""));
}

TEST_F(SettingsUnitTest, SelectedTextComesBackOnlyFromTheAreaDocumentBeforeItsZeroByte) {
    const Text text = u" a <&> \u00e9\u4e2d\U0001F600\r\n\t\"x\"  ";
    const std::string sent = settings::SharedSettingsXml(13, 3, true, text);
    const std::string kept = "<WordlarkSettings><SelText>kept</SelText></WordlarkSettings>";
    const std::string filled = kept + std::string(1023 - kept.size(), ' ');
    const std::pair<std::string, std::optional<Text>> cases[] = {
        {sent + '\0', text},
        {filled + '\0', u"kept"},
        {filled + " " + '\0', std::nullopt},  // the zero lies past the area
        {"<WordlarkSettings><SelText/></WordlarkSettings>" + std::string(1, '\0'), u""},
        {settings::SharedSettingsXml(13, 3, true, u"") + '\0', std::nullopt},
        {"<WordlarkSettings><SelText>x" + std::string(1, '\0') + "</SelText>", std::nullopt},
    };
    for (const auto& [area, selected] : cases)
        EXPECT_EQ(settings::ParseSharedSelectedText(area), selected) << area;

    EXPECT_EQ(settings::ReadSharedSelectedText(), std::nullopt) << "no area yet";
    ASSERT_TRUE(settings::SharedSettingsArea::Instance().Publish(13, 3, false, text));
    EXPECT_EQ(settings::ReadSharedSelectedText(), text);
    ASSERT_TRUE(Sim().shared.PutBytes(settings::kSharedSettingsAreaName, std::string(1024, 'x')));
    EXPECT_EQ(settings::ReadSharedSelectedText(), std::nullopt);
}

TEST_F(SettingsUnitTest, OptionsChangedStaysSetForAReaderOfAnotherProcess) {
    ASSERT_TRUE(settings::OptionsChangedEvent::Instance().Create());
    EXPECT_EQ(Sim().sync.SecurityOf(settings::kOptionsChangedEventName),
              platform::Security::Everyone);
    auto reader =
        P().sync.OpenEvent(settings::kOptionsChangedEventName, platform::EventAccess::Synchronize);
    ASSERT_TRUE(reader);
    platform::Event* waited[] = {reader.get()};

    LoadedSettings().NotifyOptionsChanged();
    Sim().threads.WaitIdle();  // the notifying thread has ended before anyone waits
    EXPECT_EQ(P().sync.WaitAny(waited, 0), platform::kWaitObject0);
    EXPECT_EQ(P().sync.WaitAny(waited, 0), platform::kWaitTimeout) << "one waiter is released";
}

}  // namespace
}  // namespace wlk::test
