// The editor's settings page reads and writes the program's own settings, and
// tells the running program to read them again.
#include "editor/editor_settings.h"

#include "settings/options_changed.h"
#include "settings/settings_files.h"
#include "support/log_entries.h"
#include "support/logged_test.h"

namespace wlk::test {
namespace {

using editor::EditorSettings;

class EditorSettingsTest : public LoggedTest {
protected:
    void TearDown() override {
        settings::OptionsChangedEvent::Instance().Close();
        LoggedTest::TearDown();
    }
};

TEST_F(EditorSettingsTest, ChangesReachAFreshLoadNormalisedAndTheRunningProgramIsTold) {
    // The running program holds the event that the editor sets.
    auto program = P().sync.CreateEvent(settings::kOptionsChangedEventName, false, false,
                                        platform::Security::Everyone);
    platform::Event* waited[] = {program.get()};
    WriteUtf16(settings::ProgramSettingsPath(),
               "[Settings]\r\nHotkey=131147\r\nHotkey_Doubled=1\r\nTextPasteMethod_v150=2\r\n"
               "PrintLTChars=50\r\nClipboardHistory=0\r\nClipboardHistoryMax=200\r\n"
               "SaveClipboardHistory_v198=0\r\nMaxHistoryItemsInMenu=5\r\n"
               "SoundOnEventsV094=0\r\nAutoCheckForUpdates=0\r\nDaysCheckForUpdates=14\r\n"
               "Language=ru.lng\r\n");
    auto s = LoadedSettings();
    EXPECT_EQ(editor::ReadEditorSettings(s),
              (EditorSettings{131147, true, 2, 50, false, 200, false, 5, false, false, 14, false,
                              u"ru.lng"}));

    const auto changed =
        EditorSettings{65601, false, 1, 30, true, 50, true, 20, true, true, 3, true, u"de.lng"};
    EditorSettings outOfRange = changed;
    outOfRange.pasteMethod = 3;
    outOfRange.typeThreshold = 1001;
    outOfRange.historyInMenu = -1;  // keeps the value held
    outOfRange.updateDays = 31;
    EditorSettings normalised = changed;
    normalised.pasteMethod = 0;
    normalised.typeThreshold = 100;
    normalised.updateDays = 30;
    for (const auto& [written, read] : {std::pair(changed, changed), {outOfRange, normalised}}) {
        ASSERT_TRUE(editor::WriteEditorSettings(s, written));
        EXPECT_EQ(editor::ReadEditorSettings(LoadedSettings()), read);
        EXPECT_EQ(P().sync.WaitAny(waited, 5000), platform::kWaitObject0);
    }
}

TEST_F(EditorSettingsTest, WhatCannotBeWrittenIsLoggedAndTheProgramStillRereadsTheRest) {
    auto program = P().sync.CreateEvent(settings::kOptionsChangedEventName, false, false,
                                        platform::Security::Everyone);
    platform::Event* waited[] = {program.get()};
    const auto log = OpenLog();
    auto s = LoadedSettings();
    EditorSettings values = editor::ReadEditorSettings(s);
    values.startWithWindows = true;
    values.sounds = false;
    Sim().registry.failAccess = true;
    EXPECT_FALSE(editor::WriteEditorSettings(s, values));
    EXPECT_EQ(editor::ReadEditorSettings(LoadedSettings()).sounds, false);
    EXPECT_EQ(P().sync.WaitAny(waited, 5000), platform::kWaitObject0);

    Sim().files.DenyWrites(u"C:\\Program Files\\Wordlark");
    Sim().files.DenyWrites(u"C:\\Users\\sim");
    values.sounds = true;
    EXPECT_FALSE(editor::WriteEditorSettings(s, values));
    log();
    EXPECT_EQ(LogEntries(Bytes(Path("LogReport.txt"))),
              (std::vector<LogEntry>{
                  {"EXE_Agent", "ERROR: Editor settings: cannot write the Run value"},
                  {"EXE_Agent",
                   "ERROR: Editor settings: cannot save C:\\Users\\sim\\Wordlark\\Settings.ini"},
                  {"EXE_Agent", "ERROR: Editor settings: cannot write the Run value"},
              }));
}

}  // namespace
}  // namespace wlk::test
