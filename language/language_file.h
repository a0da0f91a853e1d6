// The layout of a language file: an INI file in UTF-16 with a "Main" section
// describing the language, "Strings" keyed by string number and "Menu" keyed
// by the cleaned English menu text.
#pragma once

#include "platform/types.h"

namespace wlk::language {

inline constexpr char16_t kMainSection[] = u"Main";
inline constexpr char16_t kStringsSection[] = u"Strings";
inline constexpr char16_t kMenuSection[] = u"Menu";
inline constexpr char16_t kExampleFileName[] = u"LocalizeExample.lng";
inline constexpr char16_t kEmbeddedLanguageName[] = u"English (Embedded)";

// Defaults that no file holds, so getting one back means "no translation"
// even where a translator left a value empty on purpose.
inline constexpr char16_t kStringSentinel[] = u"{25D447B2-EA72-4999-BE79-DB8DF18BDE0B}";
inline constexpr char16_t kMenuSentinel[] = u"{87D306BD-DD3A-42fa-B7F2-9B39C5D6F374}";
inline constexpr char16_t kItemTextSentinel[] = u"{87D306BD-DD3A-42fa-B7F2123129B39C5D6F374}";

// Read buffers, in characters.
inline constexpr size_t kStringBufferChars = 20560;
inline constexpr size_t kMenuBufferChars = 2000;
inline constexpr size_t kPrefixBufferChars = 11;
inline constexpr size_t kLocalizedNameBufferChars = 101;
inline constexpr size_t kAuthorBufferChars = 1025;

struct LanguageInfo {
    Text author;
    Text localizedName;
};

// Creates a missing language file for a translator to fill in. The start
// FF FE 00 00 makes the profile functions keep the file in UTF-16, so that
// any script can be written into it later. False when the file exists or
// cannot be made.
bool CreateLanguageFile(const Text& path);

// "LangPrefix", blanks trimmed.
Text ReadLanguagePrefix(const Text& path);
// "Author" and "LangLocalized" of the file; empty texts when it has none.
LanguageInfo ReadLanguageInfo(const Text& path);

// The file name part of a path.
Text FileNameOf(const Text& path);
// The folder part of a path with its trailing backslash.
Text FolderOf(const Text& path);

}  // namespace wlk::language
