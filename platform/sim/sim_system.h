// A fixed, settable machine: program path, folders, clock, atoms.
#pragma once

#include <atomic>
#include <map>
#include <mutex>

#include "platform/system.h"

namespace wlk::platform::sim {

class SimSystem : public System {
public:
    Text ProgramPath() override { return programPath; }
    Text ProgramVersion() override { return version; }
    Text OsDescription() override { return os; }
    Text SpecialFolderPath(SpecialFolder folder) override;
    std::optional<Text> ExpandEnvironment(const Text& text, size_t maxChars) override;
    LocalTime Now() override { return now; }
    uint64_t NowAsFileTime() override { return nowFileTime; }
    uint32_t TickCount() override { return tickCount; }
    Text FormatUserDateTime(const LocalTime& time) override;
    Text SystemErrorText(uint32_t code, size_t maxChars) override;
    uint32_t ThreadLastError() override { return threadLastError; }
    void SetThreadLastError(uint32_t code) override { threadLastError = code; }
    Text TempFolder() override { return tempFolder; }
    // As Windows makes it: the folder, three characters of the prefix, four
    // hexadecimal digits of the number and ".TMP".
    Text TempFileName(const Text& folder, const Text& prefix, uint32_t unique) override;
    int KeyboardLayoutCount() override { return keyboardLayouts; }
    LogFontBytes MenuFont() override { return menuFont; }
    uint16_t AddGlobalAtom(const Text& name) override;
    void DeleteGlobalAtom(uint16_t atom) override;

    // Test knobs and views.
    bool HasAtom(const Text& name);

    Text programPath = u"C:\\Program Files\\Wordlark\\Wordlark.exe";
    Text version = u"2.61.0.1";
    Text os = u"Simulated Windows 10.0";
    Text appData = u"C:\\Users\\sim\\AppData\\Roaming";
    Text profile = u"C:\\Users\\sim";
    std::map<Text, Text> environment{{u"USERPROFILE", u"C:\\Users\\sim"}};
    LocalTime now{2026, 12, 6, 5, 23, 4, 9, 250};
    uint64_t nowFileTime = 134094650490000000ULL;
    std::atomic<uint32_t> tickCount{1000000};
    int keyboardLayouts = 1;
    uint32_t threadLastError = 0;
    Text tempFolder = u"C:\\Users\\sim\\AppData\\Local\\Temp\\";
    LogFontBytes menuFont{};
    bool failAtoms = false;

private:
    std::mutex mutex_;
    std::map<uint16_t, Text> atoms_;
    uint16_t nextAtom_ = 0xC000;
};

}  // namespace wlk::platform::sim
