// How the editor was started: the options the program passes it.
#pragma once

#include "platform/types.h"

namespace wlk::editor {

struct EditorOptions {
    bool addFromClipboard = false;  // "/addfromcb"
    bool addSelectedText = false;   // "/addseltext"
    bool firstRun = false;          // "/firstrun"
    bool operator==(const EditorOptions&) const = default;
};

// The options anywhere in the command line, letter case ignored; anything
// else is left alone.
EditorOptions ParseEditorOptions(const Text& commandLine);

}  // namespace wlk::editor
