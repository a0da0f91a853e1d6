// The environment report: a plain text telling support how this copy of the
// program is set up and what went wrong in this run, for the About window's
// copy button and the problem report. It holds nothing the user typed into
// phrases or copied: only versions, paths, counts, error lines and settings.
#pragma once

#include <vector>

#include "platform/types.h"

namespace wlk::info {

struct EnvironmentFacts {
    Text version;         // the program's, "2.61.0.1"
    Text windowsVersion;  // "10.0.19045"
    Text hookVersion;     // the hook component's file version; empty when unread
    Text editorVersion;   // the phrase editor's file version; empty when unread
    Text settingsPath;
    Text phrasesFolder;
    Text logPath;
    Text hookRoad;  // how the hook component is reached
    bool hookInstalled = false;
    int clipboardMethod = -1;  // the clipboard spy's method, -1 when none
    int phraseCount = 0;
    int historyCount = 0;
    std::vector<Text> lastErrors;  // oldest first
    Text settingsText;             // as SettingsExcerpt gives it
};

// The report's lines, each ended by CR LF.
Text BuildEnvironmentReport(const EnvironmentFacts& facts);

// The spy's method in words.
Text ClipboardMethodText(int method);

}  // namespace wlk::info
