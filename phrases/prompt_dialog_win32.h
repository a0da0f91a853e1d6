// The prompt dialog of the running program (dialog resource 220).
#pragma once

#include "phrases/prompt_dialog.h"

namespace wlk::phrases {

class Win32PromptDialog : public PromptDialog {
public:
    std::optional<Text> Ask(const Text& promptText, platform::WindowId target) override;
};

}  // namespace wlk::phrases
