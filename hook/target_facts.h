// The facts about the window the user works in, gathered inside its thread.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "hook/query_text.h"

namespace wlk::hook {

// `requested` is the window the request was posted to, used when the thread
// has neither a focus nor an active window. The selection is read up to
// `maxSelectionChars` characters. Nothing when the window is gone.
std::optional<QueryFacts> GatherFacts(HWND requested, size_t maxSelectionChars);

}  // namespace wlk::hook
