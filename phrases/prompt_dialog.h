// Asking the user for the text of a phrase's prompt ("%PROMPT_TEXT={...}%").
#pragma once

#include <optional>

#include "platform/types.h"

namespace wlk::phrases {

class PromptDialog {
public:
    virtual ~PromptDialog() = default;
    // Shows the prompt text as the answer to edit, in front of the target
    // window and at its caret; the answer, or nothing when the user cancels.
    // The focus goes back to the target afterwards.
    virtual std::optional<Text> Ask(const Text& promptText, platform::WindowId target) = 0;
};

}  // namespace wlk::phrases
