#include "editor/editor_options.h"

#include <algorithm>

#include "platform/text.h"

namespace wlk::editor {

EditorOptions ParseEditorOptions(const Text& commandLine) {
    EditorOptions options;
    size_t start = 0;
    while (start < commandLine.size()) {
        const size_t end = std::min(commandLine.find_first_of(u" \t", start), commandLine.size());
        const std::u16string_view word =
            std::u16string_view(commandLine).substr(start, end - start);
        if (EqualsIgnoreCase(word, u"/addfromcb")) options.addFromClipboard = true;
        if (EqualsIgnoreCase(word, u"/addseltext")) options.addSelectedText = true;
        if (EqualsIgnoreCase(word, u"/firstrun")) options.firstRun = true;
        start = end + 1;
    }
    return options;
}

}  // namespace wlk::editor
