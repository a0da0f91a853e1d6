#include "language/active_language.h"

#include <mutex>

#include "language/language_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::language {

namespace {

struct State {
    std::mutex mutex;
    ActiveLanguage active{Text(), kStringsSection, kMenuSection, false};
    bool cyrillic = false;
    platform::Menus* menus = nullptr;
};

State& TheState() {
    // Never destroyed: worker threads may still look up a string while the
    // process ends.
    static State* state = new State;
    return *state;
}

bool IsCyrillicPrefix(const Text& prefix) {
    for (const char16_t* code : {u"ru", u"uk", u"be", u"kz", u"lv", u"lt", u"et"}) {
        if (EqualsIgnoreCase(prefix, code)) return true;
    }
    return false;
}

}  // namespace

void LoadLanguage(const Text& path, bool createIfMissing, const Text& sectionSuffix) {
    if (createIfMissing && !path.empty() &&
        platform::Current().files.Kind(path) == platform::PathKind::Missing)
        CreateLanguageFile(path);
    const bool cyrillic = !path.empty() && IsCyrillicPrefix(ReadLanguagePrefix(path));

    State& state = TheState();
    std::lock_guard lock(state.mutex);
    state.active = {path, kStringsSection + sectionSuffix, kMenuSection + sectionSuffix,
                    createIfMissing};
    state.cyrillic = cyrillic;
}

ActiveLanguage CurrentLanguage() {
    State& state = TheState();
    std::lock_guard lock(state.mutex);
    return state.active;
}

bool IsCyrillicRegion() {
    State& state = TheState();
    std::lock_guard lock(state.mutex);
    return state.cyrillic;
}

void SetMenuSource(platform::Menus* menus) {
    State& state = TheState();
    std::lock_guard lock(state.mutex);
    state.menus = menus;
}

platform::Menus* MenuSource() {
    State& state = TheState();
    std::lock_guard lock(state.mutex);
    return state.menus;
}

}  // namespace wlk::language
