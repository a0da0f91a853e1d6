// The language files a user can choose from, and what each calls itself.
#pragma once

#include <vector>

#include "language/language_file.h"
#include "platform/types.h"

namespace wlk::language {

// The program's folder with a trailing backslash; for a program built into
// "Debug" or "Release" its parent, where the language files of a development
// tree lie.
Text LanguageFolder();

// The file the "Language" setting names; "LocalizeExample.lng" when it is
// empty, so that a program without a language collects texts for translators.
Text LanguageFilePathFromSetting(const Text& language);

struct LanguageEntry {
    Text fileName;  // empty for the built-in English
    Text path;
};

// The built-in English first, then the "*.lng" files of the language folder
// by name, without the example file.
std::vector<LanguageEntry> ListLanguages();

// "English (Embedded)" for no file, else the file's own name for its language
// (which may be empty).
Text GetLanguageName(const Text& path);

// For no file, the built-in English with the product's web address as author.
LanguageInfo GetLanguageInfo(const Text& path);

inline constexpr char16_t kProductWebAddress[] = u"https://wordlark.orrinsoftworks.com/";

}  // namespace wlk::language
