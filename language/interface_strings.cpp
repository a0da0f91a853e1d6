#include "language/interface_strings.h"

#include <algorithm>
#include <iterator>

#include "language/active_language.h"
#include "language/escaping.h"
#include "language/language_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::language {

namespace {

struct BuiltInString {
    uint32_t id;
    const char16_t* text;
};

constexpr BuiltInString kEnglish[] = {
#define WLK_STRING(id, text) {id, u"" text},
#include "language/english_strings.inc"
#undef WLK_STRING
};

// Writes only what differs: every string shown passes through here, and an
// unchanged file keeps its time stamp and costs a read instead of a rewrite.
void WriteIfDifferent(const Text& file, const Text& section, const Text& key, const Text& value) {
    auto& profile = platform::Current().profile;
    if (profile.GetString(file, section, key, kStringSentinel, kStringBufferChars) == value) return;
    profile.WriteString(file, section, key, value);
}

// Gathers the English texts for translators in the example file beside the
// active one, whichever language is shown.
void ListForTranslators(const ActiveLanguage& active, const Text& key, const Text& escaped) {
    if (EqualsIgnoreCase(FileNameOf(active.path), kExampleFileName)) return;
    const Text example = FolderOf(active.path) + kExampleFileName;
    if (platform::Current().files.Kind(example) == platform::PathKind::Missing)
        CreateLanguageFile(example);
    WriteIfDifferent(example, active.stringsSection, key, escaped);
}

}  // namespace

std::optional<Text> EnglishString(uint32_t id) {
    auto it = std::find_if(std::begin(kEnglish), std::end(kEnglish),
                           [id](const BuiltInString& s) { return s.id == id; });
    if (it == std::end(kEnglish)) return std::nullopt;
    return Text(it->text);
}

Text GetString(uint32_t id) {
    const std::optional<Text> english = EnglishString(id);
    if (!english) return Text();
    const ActiveLanguage active = CurrentLanguage();
    if (active.path.empty()) return *english;

    const Text key = ToText(id);
    const Text escaped = Escape(*english);
    ListForTranslators(active, key, escaped);

    const Text translated = platform::Current().profile.GetString(
        active.path, active.stringsSection, key, kStringSentinel, kStringBufferChars);
    // An empty value is a key a translator has not filled in yet.
    if (!translated.empty() && translated != kStringSentinel) return Unescape(translated);
    if (active.writeBack) WriteIfDifferent(active.path, active.stringsSection, key, escaped);
    return *english;
}

}  // namespace wlk::language
