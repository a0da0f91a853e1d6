// The language file the interface is shown in. One per process: the tray
// window switches it while worker threads may be looking up strings.
#pragma once

#include "platform/menu.h"
#include "platform/types.h"

namespace wlk::language {

struct ActiveLanguage {
    Text path;  // empty: the built-in English, no file at all
    Text stringsSection;
    Text menuSection;
    // Whether texts missing from the file are added to it for translators.
    bool writeBack = false;
};

// Makes `path` the active language file; an empty path means the built-in
// English. With `createIfMissing` a missing file is created for translators,
// and texts it lacks are written back into it as they are shown. The suffix
// is appended to the "Strings" and "Menu" section names.
void LoadLanguage(const Text& path, bool createIfMissing, const Text& sectionSuffix);

// A copy, so that a look-up is not disturbed by a switch half way through.
ActiveLanguage CurrentLanguage();

// Whether the active language's region gets the Russian-language web pages
// and news feed.
bool IsCyrillicRegion();

// Where menu resources come from for GetMenuItemText (the program file on
// Windows). The caller keeps `menus` alive while it is in use; null clears it.
void SetMenuSource(platform::Menus* menus);
platform::Menus* MenuSource();

}  // namespace wlk::language
