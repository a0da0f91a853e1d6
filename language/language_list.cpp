#include "language/language_list.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::language {

Text LanguageFolder() {
    Text folder = FolderOf(platform::Current().system.ProgramPath());
    const Text last = FileNameOf(folder.substr(0, folder.empty() ? 0 : folder.size() - 1));
    if (EqualsIgnoreCase(last, u"Debug") || EqualsIgnoreCase(last, u"Release"))
        folder.resize(folder.size() - last.size() - 1);
    return folder;
}

Text LanguageFilePathFromSetting(const Text& language) {
    return LanguageFolder() + (language.empty() ? Text(kExampleFileName) : language);
}

std::vector<LanguageEntry> ListLanguages() {
    const Text folder = LanguageFolder();
    std::vector<LanguageEntry> files;
    for (const auto& entry : platform::Current().files.List(folder, u"*.lng")) {
        // Short 8.3 names let "*.lng" also match longer extensions such as ".lngx".
        const bool lng = entry.name.size() > 4 &&
                         EqualsIgnoreCase(entry.name.substr(entry.name.size() - 4), u".lng");
        if (entry.directory || !lng || EqualsIgnoreCase(entry.name, kExampleFileName)) continue;
        files.push_back({entry.name, folder + entry.name});
    }
    // The system's listing order differs between file systems.
    std::sort(files.begin(), files.end(), [](const LanguageEntry& a, const LanguageEntry& b) {
        return ToLower(a.fileName) < ToLower(b.fileName);
    });
    files.insert(files.begin(), LanguageEntry{});
    return files;
}

Text GetLanguageName(const Text& path) {
    if (FileNameOf(path).empty()) return kEmbeddedLanguageName;
    return ReadLanguageInfo(path).localizedName;
}

LanguageInfo GetLanguageInfo(const Text& path) {
    if (FileNameOf(path).empty()) return {kProductWebAddress, kEmbeddedLanguageName};
    return ReadLanguageInfo(path);
}

}  // namespace wlk::language
