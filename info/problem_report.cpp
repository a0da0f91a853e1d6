#include "info/problem_report.h"

#include <optional>
#include <string>

#include "info/settings_excerpt.h"
#include "info/zip_writer.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::info {

namespace {

Text TwoDigits(int value) {
    return (value < 10 ? u"0" : u"") + ToText(value);
}

std::string Utf16File(const Text& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += char(c & 0xFF);
        bytes += char(c >> 8);
    }
    return bytes;
}

}  // namespace

Text ProblemReportFileName(const platform::LocalTime& day) {
    return u"Wordlark-problem-report-" + ToText(day.year) + u"-" + TwoDigits(day.month) + u"-" +
           TwoDigits(day.day) + u".zip";
}

bool WriteProblemReport(const Text& zipPath, const ProblemReportParts& parts,
                        const platform::LocalTime& now) {
    auto& files = platform::Current().files;
    const std::optional<std::string> log = files.ReadAll(parts.logPath);
    const std::optional<std::string> settingsBytes = files.ReadAll(parts.settingsPath);
    const std::string settings = settingsBytes ? Utf16File(SettingsExcerpt(*settingsBytes)) : "";
    const std::string environment = "\xEF\xBB\xBF" + ToUtf8(parts.environment);

    std::vector<ZipEntry> entries;
    if (log) entries.push_back({kLogEntryName, *log});
    if (settingsBytes) entries.push_back({kSettingsEntryName, settings});
    entries.push_back({kEnvironmentEntryName, environment});
    return WriteZipFile(zipPath, entries, now);
}

}  // namespace wlk::info
