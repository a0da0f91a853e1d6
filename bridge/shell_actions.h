// Handing text to the Windows shell: running a phrase's command line, opening
// a web address, and the "Open With" dialog for a file.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/types.h"

namespace wlk::bridge {

// The command line of an EXEC phrase's text segment: its macros expanded in
// the locale of the layout now active in the target window's thread, with the
// selection's line breaks made blanks so that it stays one command line.
Text ExpandCommandLine(platform::WindowId target, const Text& text, const Text& selected,
                       const Text& clipboard);

// Opens a command line (a program, a document, an address) as the user's EXEC
// phrase says. Success plays the launch sound through `onLaunched`; failure
// beeps and tells the user why, in a box owned by `owner`. The thread's last
// error is left as it was.
bool RunCommand(platform::WindowId owner, const Text& commandLine,
                const std::function<void()>& onLaunched);

// Opens an address; with `report`, a failure that left an error code is shown
// in a box owned by `owner`.
bool OpenUrl(const Text& address, bool report, platform::WindowId owner);

// The shell's "Open With" dialog for a file.
bool OpenWith(platform::WindowId owner, const Text& path);

}  // namespace wlk::bridge
