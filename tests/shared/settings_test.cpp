// Loading and saving the settings through the real profile functions.
#include "settings/settings.h"

#include <tuple>

#include "platform/text.h"
#include "settings/settings_files.h"
#include "support/test_helpers.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using settings::IntSetting;

class SettingsTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        program = settings::ProgramSettingsPath();
        user = settings::UserSettingsPath(true);
        RemoveFiles();
    }
    void TearDown() override {
        RemoveFiles();
        PlatformTest::TearDown();
    }
    void RemoveFiles() {
        P().files.DeleteFile(program);
        P().files.DeleteFile(user);
    }
    Text Value(const Text& file, const Text& key) { return IniValue(file, u"Settings", key); }

    Text program;
    Text user;
};

TEST_F(SettingsTest, ProgramFileWinsOnlyForKeysItHoldsWithExactCase) {
    WriteUtf16(program, "[Settings]\r\nHotkey=65601\r\nsorting=0\r\n");
    WriteUtf16(user, "[Settings]\r\nHotkey=1\r\nSorting=5\r\nClipboardHistoryMax=50\r\n");
    auto s = LoadedSettings();
    EXPECT_EQ(s.Get(IntSetting::Hotkey), 65601);
    EXPECT_EQ(s.Get(IntSetting::Sorting), 5) << "\"sorting\" is not \"Sorting\"";
    EXPECT_EQ(s.Get(IntSetting::ClipboardHistoryMax), 50);
    EXPECT_EQ(s.Get(IntSetting::ClipboardFormats2), 0);

    // Reread after the keys were removed: the user file's value, then the default.
    WriteUtf16(program, "[Settings]\r\nsorting=0\r\n");
    s.Load();
    EXPECT_EQ(s.Get(IntSetting::Hotkey), 1);
    WriteUtf16(user, "[Settings]\r\nSorting=5\r\n");
    s.Load();
    EXPECT_EQ(s.Get(IntSetting::Hotkey), 196621);
    EXPECT_EQ(s.Get(IntSetting::ClipboardHistoryMax), 30);
}

TEST_F(SettingsTest, OutOfRangeAndGarbageValuesAreNormalised) {
    // Letters read as 0, which the rules then turn into usable values.
    const std::tuple<const char*, IntSetting, int> rows[] = {
        {"AddLastUsedMenuToBegin_Count=9", IntSetting::AddLastUsedMenuToBeginCount, 3},
        {"DelayAutoLoadSeconds_NextRelease=3600", IntSetting::DelayAutoLoadSeconds, 600},
        {"PrintLTChars=0", IntSetting::PrintLTChars, 100},
        {"TextPasteMethod_v150=5", IntSetting::TextPasteMethod, 0},
        {"MaxHistoryItemsInMenu=-1", IntSetting::MaxHistoryItemsInMenu, 15},
        {"DaysCheckForUpdates=45", IntSetting::DaysCheckForUpdates, 30},
        {"DaysCheckForUpdates=x", IntSetting::DaysCheckForUpdates, 1},
        {"GestureType=2", IntSetting::GestureType, 0},
    };
    for (const auto& [line, key, expected] : rows) {
        WriteUtf16(program, std::string("[Settings]\r\n") + line + "\r\n");
        EXPECT_EQ(LoadedSettings().Get(key), expected) << line;
    }
}

TEST_F(SettingsTest, BrokenFilesGiveTheDefaults) {
    const std::string broken[] = {
        "",                                                                // empty
        std::string("\xFF\xFE[\0S\0e\0t\0t\0i\0n\0g\0s\0]\0\n\0H\0", 25),  // odd length
        "Hotkey=5\r\nSorting=0\r\n",                                       // no section
        "[Settings]\r\nHotkey" + std::string(70000, '9') + "\r\n",         // a very long line
        std::string("\x00\x01\x02\xFF\xFE\x00[Settings]", 16),             // binary junk
    };
    for (const auto& bytes : broken) {
        WriteBytes(program, bytes);
        auto s = LoadedSettings();
        EXPECT_EQ(s.Get(IntSetting::Hotkey), 196621);
        EXPECT_EQ(s.Get(IntSetting::Sorting), 1);
        EXPECT_EQ(s.Get(IntSetting::ClipboardHistoryMax), 30);
    }
}

TEST_F(SettingsTest, SaveWritesEveryKeyInOrderToTheWriteFile) {
    auto s = LoadedSettings();
    s.Set(IntSetting::Hotkey, 131137);
    s.Save();
    ASSERT_EQ(s.GetSettingsPath(), program);
    EXPECT_EQ(IniKeys(program, u"A_SETTINGS"),
              (std::vector<Text>{u"WRITED_TO", u"WRITED_WHO", u"WRITED_WHEN"}));
    EXPECT_EQ(IniValue(program, u"A_SETTINGS", u"WRITED_TO"), program);
    EXPECT_EQ(IniValue(program, u"A_SETTINGS", u"WRITED_WHO"), P().system.ProgramPath());
    std::string listed;  // every key, in the order the file has them
    for (const Text& key : IniKeys(program, u"Settings")) listed += ToUtf8(key) + " ";
    EXPECT_EQ(listed,
              "WLKVersion PhrasesDirectory Language ShowHistoryPaneOnStart Hotkey ExtHotkey "
              "Hotkey_Doubled Sorting ClipboardHistory ClipboardHistoryMax InsertCHIntoMenu "
              "AutoCheckForUpdates DaysCheckForUpdates SoundOnEventsV094 "
              "MenuToolTips_V0_94_A22 DelayAutoLoadSeconds_NextRelease WriteLog "
              "SaveClipboardHistory_v198 MaxHistoryItemsInMenu AppendCHAsSubMenu_ForV140 "
              "TextPasteMethod_v150 GestureType ClipboardSpyMethod_v2_22 "
              "InsertEncodeCommandIntoMenu AddLastUsedMenuToBegin AddLastUsedMenuToBegin_Count "
              "ShowTrayBallonOnHotkey PrintLTChars ClipboardFormats0 ClipboardFormats1 "
              "ClipboardFormats2 ClipboardFormats3 ClipboardFormats4 FontForMenu "
              "ExtMenuCommand__EditSetting ExtMenuCommand__SaveSelAsPhrase "
              "ExtMenuCommand__SUPPORT ");
    EXPECT_EQ(Value(program, u"WLKVersion"), u"WLK_150");
    EXPECT_EQ(Value(program, u"Hotkey"), u"131137");
    EXPECT_EQ(Value(program, u"PhrasesDirectory"), u"");
    EXPECT_EQ(Value(program, u"ClipboardSpyMethod_v2_22"), u"-1");

    EXPECT_EQ(LoadedSettings().Get(IntSetting::Hotkey), 131137);
}

TEST_F(SettingsTest, FontStructRoundTripsAndABadChecksumKeepsTheDefault) {
    auto s = LoadedSettings();
    platform::LogFontBytes font{};
    for (size_t i = 0; i < font.size(); ++i) font[i] = uint8_t(i * 7);
    s.SetFont(font);
    s.WriteFont();
    Text hex = Value(program, u"FontForMenu");
    ASSERT_EQ(hex.size(), 186u);
    EXPECT_EQ(hex.substr(0, 8), u"00070E15");
    auto reloaded = LoadedSettings();
    EXPECT_EQ(reloaded.Font(), font);

    // One digit of the checksum changed: the stored font is ignored.
    hex[185] = hex[185] == u'0' ? u'1' : u'0';
    P().profile.WriteString(program, u"Settings", u"FontForMenu", hex);
    EXPECT_EQ(LoadedSettings().Font(), P().system.MenuFont());
    P().profile.WriteString(program, u"Settings", u"FontForMenu", hex.substr(0, 184));
    EXPECT_EQ(LoadedSettings().Font(), P().system.MenuFont());
}

}  // namespace
}  // namespace wlk::test
