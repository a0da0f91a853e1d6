// A phrase body cut at its prompts ("%PROMPT_TEXT={text}%"): the inserter
// expands the text between them and asks the user for each prompt.
#pragma once

#include <vector>

#include "platform/types.h"

namespace wlk::phrases {

struct PromptSegment {
    bool isPrompt = false;
    Text text;        // the segment as it stands in the body
    Text promptText;  // for a prompt, what lies between its "={" and its "}%"
};

// In body order. The opener is found without regard to case; an opener with
// no closing "}%" after it is plain text.
std::vector<PromptSegment> SplitPrompts(const Text& body);

}  // namespace wlk::phrases
