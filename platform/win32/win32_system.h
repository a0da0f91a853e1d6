// Facts about the process, the user and the machine from the Win32 calls.
#pragma once

#include "platform/system.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

class Win32System final : public System {
public:
    Text ProgramPath() override;
    Text ProgramVersion() override;
    Text OsDescription() override;
    Text SpecialFolderPath(SpecialFolder folder) override;
    std::optional<Text> ExpandEnvironment(const Text& text, size_t maxChars) override;
    LocalTime Now() override;
    uint32_t TickCount() override;
    uint32_t ThreadLastError() override;
    void SetThreadLastError(uint32_t code) override;
    Text TempFolder() override;
    Text TempFileName(const Text& folder, const Text& prefix, uint32_t unique) override;
    uint64_t NowAsFileTime() override;
    Text FormatUserDateTime(const LocalTime& time) override;
    Text SystemErrorText(uint32_t code, size_t maxChars) override;
    int KeyboardLayoutCount() override;
    LogFontBytes MenuFont() override;
    uint16_t AddGlobalAtom(const Text& name) override;
    void DeleteGlobalAtom(uint16_t atom) override;
};

// A file's version from its version resource as "a.b.c.d"; empty when it has none.
Text FileVersion(const Text& path);

// The record the Win32 date and time calls take.
SYSTEMTIME ToSystemTime(const LocalTime& time);

}  // namespace wlk::platform::win32
