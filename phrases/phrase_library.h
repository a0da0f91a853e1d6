// Loading the program's phrase library from the configured phrases folder, and
// the two numbers the tray menu item "Reread Phrases" shows.
#pragma once

#include "phrases/command_tree.h"

namespace wlk::phrases {

struct PhraseCounts {
    int all = 0;       // every node of the tree, groups included
    int included = 0;  // the nodes the menu shows
};

PhraseCounts CountPhrases(const CWLKCommandTree& tree);

// (Re)loads `tree` from Settings::GetPhrasesFolder(); the load logs its result.
PhraseCounts LoadPhraseLibrary(CWLKCommandTree& tree);

// " [all/included]", the suffix of the "Reread Phrases" item.
Text PhraseCountsLabel(const PhraseCounts& counts);

}  // namespace wlk::phrases
