#include "settings/settings_files.h"

#include "platform/platform.h"
#include "settings/program_location.h"

namespace wlk::settings {

namespace {
// GetPrivateProfileSectionW's buffer for the program file's section.
constexpr size_t kSectionBufferChars = 102400;
}  // namespace

Text ProgramSettingsPath() {
    return ProgramFolder() + u"Settings.ini";
}

Text UserSettingsPath(bool create) {
    auto& p = platform::Current();
    Text folder =
        WithBackslash(p.system.SpecialFolderPath(platform::SpecialFolder::Profile)) + u"Wordlark\\";
    if (create && !RunsFromPortableDrive() && p.files.Kind(folder) == platform::PathKind::Missing) {
        p.files.CreateDirectory(folder, platform::Security::Everyone);
    }
    return folder + u"Settings.ini";
}

Text WriteSettingsPath() {
    Text program = ProgramSettingsPath();
    if (RunsFromPortableDrive() || MayWriteFileOrFolder(program)) return program;
    return UserSettingsPath(true);
}

KeySources::KeySources() : programFile_(ProgramSettingsPath()), userFile_(UserSettingsPath(false)) {
    auto& p = platform::Current();
    if (p.files.Kind(programFile_) != platform::PathKind::File) return;
    for (const Text& line :
         p.profile.GetSection(programFile_, kSettingsSection, kSectionBufferChars))
        programKeys_.insert(line.substr(0, line.find(u'=')));
}

const Text& KeySources::FileFor(const Text& key) const {
    return programKeys_.count(key) ? programFile_ : userFile_;
}

}  // namespace wlk::settings
