#include "phrases/macro_table.h"

#include <map>

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::phrases {

namespace {
// The language name is read into a buffer of this many characters.
constexpr size_t kIsoNameChars = 8;
}  // namespace

MacroTable MacroTable::FromLayouts(const std::vector<uint32_t>& layouts) {
    auto& locale = platform::Current().locale;
    std::map<Text, uint16_t> byName;  // ordered by name; a later layout replaces an earlier one
    for (uint32_t layout : layouts) {
        const auto language = static_cast<uint16_t>(layout & 0xFFFF);
        const Text code = locale.Info(language, platform::kLocaleIso639LangName, kIsoNameChars);
        if (code.empty()) continue;
        byName[u"%ACTIVATE_KL_" + ToUpper(code) + u"%"] = language;
    }
    MacroTable table;
    for (auto& [name, language] : byName) table.layouts_.push_back({name, language});
    return table;
}

const MacroTable& MacroTable::Instance() {
    static const MacroTable table = FromLayouts(platform::Current().keyboard.InstalledLayouts());
    return table;
}

std::vector<Text> MacroTable::Names() const {
    std::vector<Text> names;
    for (const auto& layout : layouts_) names.push_back(layout.name);
    for (auto name : kFixedMacros) names.emplace_back(name);
    return names;
}

}  // namespace wlk::phrases
