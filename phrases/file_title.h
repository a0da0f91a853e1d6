// File names for phrases that have none yet, made from their titles.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::phrases {

// The title as a file name: one line, no characters Windows refuses in names,
// no runs of "_", then the index (when above 1) and ".wordlark" when asked.
Text MakeFileTitle(const Text& text, uint32_t index, bool withExtension, bool replaceSpaces);

// The first "<title>.wordlark", "<title>2.wordlark", … that is free in `folder`.
Text MakeUniqueFileName(const Text& text, const Text& folder);

}  // namespace wlk::phrases
