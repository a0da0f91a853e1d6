// What the user and the log are told when the hook component cannot be
// installed.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::bridge {

// The wording of an installation result code; "Unknow error" for a code
// that neither side gives.
Text InstallResultText(uint32_t code);

// The report of a failed installation: the library's path, whether the file
// is there at all, and the result code's wording with its number.
Text InstallErrorReport(const Text& libraryPath, bool libraryExists, uint32_t code);

}  // namespace wlk::bridge
