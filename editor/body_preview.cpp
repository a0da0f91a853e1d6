#include "editor/body_preview.h"

#include "bridge/selection_extract.h"
#include "phrases/macro_expansion.h"
#include "phrases/prompt_split.h"
#include "platform/platform.h"

namespace wlk::editor {

namespace {

// The editor has no target: the layout of its own thread stands in for the
// target's, as it would for a command line run with no window.
uint32_t CurrentLanguage() {
    return platform::Current().targets.KeyboardLayout(0) & 0xFFFF;
}

// Cut at the prompts as the inserter cuts it; a command line differs from
// plain text only in how the selection is joined, and there is none here.
Text ExpandedText(const Text& text) {
    const Text clipboard = bridge::ReadClipboardText();
    const uint32_t lcid = CurrentLanguage();
    Text shown;
    for (const phrases::PromptSegment& segment : phrases::SplitPrompts(text)) {
        if (segment.isPrompt) {
            shown += u"[" + segment.promptText + u"]";
            continue;
        }
        Text part = segment.text;
        phrases::ExpandMacros(part, Text(), clipboard, nullptr, nullptr, lcid);
        shown += part;
    }
    return shown;
}

}  // namespace

Text PreviewBody(const Text& body, phrases::CommandDataType type, phrases::RtfExpander* rtf) {
    if (type != phrases::CommandDataType::RTF) return ExpandedText(body);
    // The values are plain text either way, so expanding the plain text shows
    // what expanding the RTF would.
    return rtf ? ExpandedText(rtf->PlainText(body)) : body;
}

}  // namespace wlk::editor
