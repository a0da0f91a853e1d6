#include "settings/registry_entries.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::settings {

bool IsFromInstaller() {
    constexpr size_t kMaxChars = 99;
    auto value = platform::Current().registry.ReadString(u"Software\\Orrin Softworks\\Wordlark",
                                                         u"FromInstaller", (kMaxChars + 1) * 2);
    return value && !value->empty();
}

bool IsStartWithWindows() {
    constexpr size_t kMaxBytes = 520;
    auto& p = platform::Current();
    auto value = p.registry.ReadString(kRunKey, kRunValue, kMaxBytes);
    if (!value) return false;
    size_t slash = value->rfind(u'/');
    Text path = TrimRight(slash == Text::npos ? *value : value->substr(0, slash));
    return EqualsIgnoreCase(path, p.system.ProgramPath());
}

bool SetStartWithWindows(bool on) {
    auto& p = platform::Current();
    if (on)
        return p.registry.WriteString(kRunKey, kRunValue, p.system.ProgramPath() + u" /autoload");
    return p.registry.DeleteValue(kRunKey, kRunValue);
}

}  // namespace wlk::settings
