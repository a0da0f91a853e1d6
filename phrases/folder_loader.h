// Walking a phrases folder into a list of nodes: sub-folders become groups,
// ".wordlark" files phrases, in the order the listing gives them.
#pragma once

#include <cstdint>

#include "phrases/command.h"

namespace wlk::phrases {

// What a walk reads. The phrase editor reads the phrases of a group only when
// the user opens it, so that a large library opens at once.
enum class LoadScope {
    Everything,
    // The phrases of the folder itself and every group, without their phrases.
    TopPhrasesAndGroups,
    // The phrases of the folder itself, no groups.
    PhrasesOnly,
};

class CWLKFolderLoader {
public:
    // Ids are handed out from `firstId` upwards in loading order.
    explicit CWLKFolderLoader(uint32_t firstId, LoadScope scope = LoadScope::Everything)
        : nextId_(firstId), scope_(scope) {}

    // False when the folder is missing or holds nothing to load. Files that are not
    // phrases are skipped, each with a log line, and the walk goes on.
    bool LoadFolder(const Text& folder, CommandList& list);

    int FilesRead() const { return filesRead_; }
    int FilesSkipped() const { return filesSkipped_; }

private:
    void AddGroup(const Text& folder, const Text& name, CommandList& list);
    void AddPhrase(const Text& path, CommandList& list);

    uint32_t nextId_;
    LoadScope scope_;
    int depth_ = 0;  // of the folder being walked: 0 for the one asked for
    int filesRead_ = 0;
    int filesSkipped_ = 0;
};

// Groups before phrases, then ascending sort ids; equal keys keep the listing
// order. Every list of the tree, recursively.
void SortCommands(CommandList& list);

}  // namespace wlk::phrases
