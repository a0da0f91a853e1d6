#include "language/language_file.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::language {

bool CreateLanguageFile(const Text& path) {
    auto& p = platform::Current();
    auto file = p.files.CreateNew(path, platform::Security::Default);
    if (!file) return false;
    static constexpr char kStart[] = {'\xFF', '\xFE', '\0', '\0'};
    const bool written = file->Write(kStart, sizeof kStart);
    file.reset();
    if (!written) return false;
    p.profile.WriteString(path, kMainSection, u"LangPrefix", Text(u"En"));
    p.profile.WriteString(path, kMainSection, u"Author",
                          Text(u"Type Your name and email (optional)"));
    p.profile.WriteString(path, kMainSection, u"LangLocalized",
                          Text(u"English (Type localized name of language here)"));
    return true;
}

Text ReadLanguagePrefix(const Text& path) {
    return Trim(platform::Current().profile.GetString(path, kMainSection, u"LangPrefix", u"",
                                                      kPrefixBufferChars));
}

LanguageInfo ReadLanguageInfo(const Text& path) {
    auto& profile = platform::Current().profile;
    return {
        profile.GetString(path, kMainSection, u"Author", u"", kAuthorBufferChars),
        profile.GetString(path, kMainSection, u"LangLocalized", u"", kLocalizedNameBufferChars)};
}

Text FileNameOf(const Text& path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == Text::npos ? path : path.substr(slash + 1);
}

Text FolderOf(const Text& path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == Text::npos ? Text() : path.substr(0, slash + 1);
}

}  // namespace wlk::language
