// Where the program runs from, and whether files beside it can be used.
#pragma once

#include "platform/types.h"

namespace wlk::settings {

// The companion programs beside this one.
inline constexpr char16_t kPhraseEditorFile[] = u"WordlarkEditor.exe";
inline constexpr char16_t kWelcomeProgramFile[] = u"Wordlark_Welcome.exe";

// The program's folder, ending with a backslash.
Text ProgramFolder();
// The folder part of a path, ending with a backslash; empty when there is none.
Text FolderOf(const Text& path);
// Appends a backslash unless the text already ends with one (or is empty).
Text WithBackslash(const Text& path);
// True when the program's drive is unknown, has no root, is removable or is
// remote: files then always stay beside the program.
bool RunsFromPortableDrive();
// An existing file: whether the user may write it; a missing one: whether the
// user may write its folder.
bool MayWriteFileOrFolder(const Text& path);

}  // namespace wlk::settings
