// The phrase library: the phrases folder as a sorted tree of groups and phrases,
// owned and used by the tray window's thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "phrases/command.h"
#include "phrases/folder_loader.h"

namespace wlk::phrases {

class CWLKCommandTree {
public:
    // Empties the tree and loads `folder`, or the folder of the last load when
    // `folder` is empty. False, with the tree left empty and the stored folder
    // unchanged, when no such directory exists. Logs what it found.
    bool Load(const Text& folder, LoadScope scope = LoadScope::Everything);
    void Clear();

    CWLKCommand* FindById(uint32_t id);
    const CWLKCommand* FindById(uint32_t id) const;
    // The group directly holding the node; none at the top level or when unknown.
    CWLKCommand* FindParent(uint32_t id);
    // Whether a phrase (not a group) with this id lies anywhere below `group`.
    static bool GroupContainsId(const CWLKCommand& group, uint32_t id);
    uint32_t NextId() const;
    // Every node counts in `all`, groups too; `included` counts those shown.
    void CountPhrases(int& all, int& included) const;
    // Depth first in list order, a group before its children; `visit` returns
    // false to stop. False when stopped.
    bool ForEach(const std::function<bool(CWLKCommand&)>& visit);
    bool ForEach(const std::function<bool(const CWLKCommand&)>& visit) const;

    // After a successful insertion: one more use, dated now, written back.
    void MarkUsed(uint32_t id);
    // Writes the node's file on a worker thread of its own. The document is made
    // here, from the node as it is now, so that a reload meanwhile cannot touch
    // what the thread writes. False when nothing could be written or started.
    bool SaveCommand(CWLKCommand& node);

    CommandList& Commands() { return commands_; }
    const CommandList& Commands() const { return commands_; }
    const Text& Folder() const { return folder_; }

private:
    CommandList commands_;
    Text folder_;
};

}  // namespace wlk::phrases
