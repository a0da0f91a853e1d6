// The facts behind %WINDOWS_USERNAME%, %WINDOWS_VERSION% and the file-version
// macros, read from the running system.
#pragma once

#include "platform/types.h"

namespace wlk::phrases {

// The version text of a file's version resource, "," made "." and spaces
// removed; empty when the file has none.
Text FileVersionText(const Text& path);

// Fills CurrentMacroSources() for the running program.
void InstallMacroSources();

}  // namespace wlk::phrases
