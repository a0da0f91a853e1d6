// What a phrase body would insert now, for the editor to show beside the body
// while it is being written.
#pragma once

#include "phrases/command.h"
#include "phrases/rtf_expansion.h"
#include "platform/types.h"

namespace wlk::editor {

// The body with its macros expanded as the menu would expand them now (the
// clock, the clipboard, the user's Windows facts and the current keyboard
// layout's language), but with no selected text and no target window, and
// each prompt shown as its question in brackets ("[Name?]") instead of being
// asked. An RTF body is shown as its plain text, expanded, when `rtf` is
// given, else as it stands; an EXEC body as the command line it would run.
Text PreviewBody(const Text& body, phrases::CommandDataType type,
                 phrases::RtfExpander* rtf = nullptr);

}  // namespace wlk::editor
