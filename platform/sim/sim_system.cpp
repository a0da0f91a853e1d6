#include "platform/sim/sim_system.h"

#include <cstdio>

#include "platform/text.h"

namespace wlk::platform::sim {

Text SimSystem::SpecialFolderPath(SpecialFolder folder) {
    return folder == SpecialFolder::AppData ? appData : profile;
}

std::optional<Text> SimSystem::ExpandEnvironment(const Text& text, size_t maxChars) {
    Text out;
    size_t i = 0;
    while (i < text.size()) {
        size_t close = text[i] == u'%' ? text.find(u'%', i + 1) : Text::npos;
        auto it = close == Text::npos
                      ? environment.end()
                      : environment.find(ToUpper(text.substr(i + 1, close - i - 1)));
        if (it != environment.end()) {
            out += it->second;
            i = close + 1;
        } else {
            out += text[i++];
        }
    }
    if (out.size() + 1 > maxChars) return std::nullopt;
    return out;
}

Text SimSystem::FormatUserDateTime(const LocalTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%u/%u/%04u %u:%02u:%02u", t.month, t.day, t.year, t.hour,
                  t.minute, t.second);
    return T(buffer);
}

Text SimSystem::TempFileName(const Text& folder, const Text& prefix, uint32_t unique) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    Text name = folder;
    if (!name.empty() && name.back() != u'\\') name += u'\\';
    name += prefix.substr(0, 3);
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(unique >> shift) & 0xF];
    return name + u".TMP";
}

Text SimSystem::SystemErrorText(uint32_t code, size_t maxChars) {
    Text text = code == 2 ? u"File not found.\r\n" : u"Error " + ToText(code) + u".\r\n";
    return text.substr(0, maxChars);
}

uint16_t SimSystem::AddGlobalAtom(const Text& name) {
    std::lock_guard lock(mutex_);
    if (failAtoms) return 0;
    atoms_[nextAtom_] = name;
    return nextAtom_++;
}

void SimSystem::DeleteGlobalAtom(uint16_t atom) {
    std::lock_guard lock(mutex_);
    atoms_.erase(atom);
}

bool SimSystem::HasAtom(const Text& name) {
    std::lock_guard lock(mutex_);
    for (const auto& [atom, text] : atoms_)
        if (EqualsIgnoreCase(text, name)) return true;
    return false;
}

}  // namespace wlk::platform::sim
