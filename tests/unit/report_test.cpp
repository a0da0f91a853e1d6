// The environment report's text, the settings it shows, the errors the event
// log keeps for it, and the problem report's archive.
#include "info/environment_report.h"
#include "info/problem_report.h"
#include "info/settings_excerpt.h"
#include "info/zip_writer.h"
#include "log/event_log.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

info::EnvironmentFacts SomeFacts() {
    info::EnvironmentFacts f;
    f.version = u"2.61.0.1";
    f.windowsVersion = u"10.0.19045";
    f.hookVersion = u"2.61.0.1";
    f.settingsPath = u"C:\\Wordlark\\Settings.ini";
    f.phrasesFolder = u"C:\\Wordlark\\UserPhrases";
    f.logPath = u"C:\\Wordlark\\LogReport.txt";
    f.hookRoad = u"Use x32 implementation XP like";
    f.hookInstalled = true;
    f.clipboardMethod = 1;
    f.phraseCount = 12;
    f.historyCount = 3;
    f.lastErrors = {u"ERROR: first", u"ERROR: second"};
    f.settingsText = u"[Settings]\r\nWriteLog=1";
    return f;
}

TEST(ReportText, EveryFactOnItsLineEndedByCrLfAndNoErrorsSaidSo) {
    EXPECT_EQ(info::BuildEnvironmentReport(SomeFacts()),
              u"Wordlark 2.61.0.1\r\n"
              u"Windows: 10.0.19045\r\n"
              u"Hook component (Wordlark.dll): 2.61.0.1\r\n"
              u"Phrase editor (WordlarkEditor.exe): unknown\r\n"
              u"Settings file: C:\\Wordlark\\Settings.ini\r\n"
              u"Phrases folder: C:\\Wordlark\\UserPhrases\r\n"
              u"Event log: C:\\Wordlark\\LogReport.txt\r\n"
              u"Hook road: Use x32 implementation XP like (installed)\r\n"
              u"Clipboard monitoring: clipboard format listener\r\n"
              u"Phrases: 12\r\n"
              u"History items: 3\r\n"
              u"\r\n"
              u"Last errors of this run:\r\n"
              u"ERROR: first\r\n"
              u"ERROR: second\r\n"
              u"\r\n"
              u"Settings file:\r\n"
              u"[Settings]\r\n"
              u"WriteLog=1\r\n");

    auto f = SomeFacts();
    f.lastErrors.clear();
    f.hookInstalled = false;
    const Text text = info::BuildEnvironmentReport(f);
    EXPECT_NE(text.find(u"Last errors of this run:\r\nnone\r\n"), Text::npos);
    EXPECT_NE(text.find(u"XP like (not installed)\r\n"), Text::npos);
}

class ReportFiles : public PlatformTest {};

// A settings file as the program and the editor keep it, in UTF-16.
const std::string kSettingsFile = Utf16File(
    std::string("[Settings]\r\nWriteLog=1\r\nDirectoryForSave=C:\\Clients\\Acme secret\r\n"
                "Hotkey=1234\r\n[A_SETTINGS]\r\ndirectoryforsave = D:\\x\r\n"));

TEST_F(ReportFiles, TheSettingsShownLeaveOutTheFolderOfSavedItems) {
    const Text kept = u"[Settings]\r\nWriteLog=1\r\nHotkey=1234\r\n[A_SETTINGS]\r\n";
    EXPECT_EQ(info::SettingsExcerpt(kSettingsFile), kept);
    EXPECT_EQ(info::SettingsExcerpt("\xEF\xBB\xBF[S]\nK=\xD0\x96\n"), u"[S]\r\nK=Ж\r\n");
    EXPECT_EQ(info::SettingsExcerpt("[S]\r\nK=v"), u"[S]\r\nK=v\r\n");
}

TEST_F(ReportFiles, TheLogKeepsTheLastTwentyErrorsOfThisRunEvenWhenClosed) {
    auto& log = log::EventLog::Instance();
    log.Close();
    for (int i = 0; i < 25; ++i) log.WriteError(u"number " + ToText(i));
    log.Write(u"an ordinary line");
    const auto errors = log.RecentErrors();
    ASSERT_EQ(errors.size(), 20u);
    EXPECT_EQ(errors.front(), u"ERROR: number 5");
    EXPECT_EQ(errors.back(), u"ERROR: number 24");
}

TEST_F(ReportFiles, TheArchiveHoldsTheLogTheSettingsAndTheEnvironment) {
    const std::string logBytes = Utf16File(std::string("line one\r\nERROR: two\r\n"));
    WriteBytes(Dir() + u"LogReport.txt", logBytes);
    WriteBytes(Dir() + u"Settings.ini", kSettingsFile);
    const platform::LocalTime day{.year = 2025, .month = 3, .day = 4};
    const Text name = info::ProblemReportFileName(day);
    EXPECT_EQ(name, u"Wordlark-problem-report-2025-03-04.zip");
    ASSERT_TRUE(info::WriteProblemReport(
        Dir() + name, {Dir() + u"LogReport.txt", Dir() + u"Settings.ini", u"Wordlark 2.61\r\n"},
        day));

    const std::string expected = *info::BuildZip(
        {{u"LogReport.txt", logBytes},
         {u"Settings.ini",
          Utf16File(u"[Settings]\r\nWriteLog=1\r\nHotkey=1234\r\n[A_SETTINGS]\r\n")},
         {u"Environment.txt", "\xEF\xBB\xBFWordlark 2.61\r\n"}},
        day);
    EXPECT_TRUE(Bytes(Dir() + name) == expected);
}

TEST_F(ReportFiles, MissingLogAndSettingsAreLeftOutNotFailures) {
    const platform::LocalTime day{.year = 2025, .month = 12, .day = 31};
    ASSERT_TRUE(info::WriteProblemReport(Dir() + u"r.zip",
                                         {Dir() + u"none.txt", Dir() + u"none.ini", u"text"}, day));
    EXPECT_TRUE(Bytes(Dir() + u"r.zip") ==
                *info::BuildZip({{u"Environment.txt", "\xEF\xBB\xBFtext"}}, day));
}

}  // namespace
}  // namespace wlk::test
