// The problem report: one ZIP archive with the event log, the settings file
// and the environment report, which the user may send to support on their
// own. Writing it sends nothing anywhere.
#pragma once

#include "platform/types.h"

namespace wlk::info {

inline constexpr char16_t kLogEntryName[] = u"LogReport.txt";
inline constexpr char16_t kSettingsEntryName[] = u"Settings.ini";
inline constexpr char16_t kEnvironmentEntryName[] = u"Environment.txt";

struct ProblemReportParts {
    Text logPath;       // the event log file; skipped when missing
    Text settingsPath;  // the settings file; skipped when missing
    Text environment;   // the environment report's text
};

// "Wordlark-problem-report-2025-03-14.zip" for that day.
Text ProblemReportFileName(const platform::LocalTime& day);

// Writes the archive to `zipPath`, its entries dated `now`. The event log goes
// in as it is; the settings file without what SettingsExcerpt leaves out, in
// the UTF-16 the program keeps it in; the environment report as UTF-8 with a
// byte order mark, so that Notepad shows it right.
bool WriteProblemReport(const Text& zipPath, const ProblemReportParts& parts,
                        const platform::LocalTime& now);

}  // namespace wlk::info
