// The phrase library as the editor holds it: the program's own tree of the
// phrases folder, the files that could not be read (shown, never touched),
// and what the user changed since the last save. Saving writes each changed
// phrase and group in the program's own file format, so that what the editor
// writes is exactly what the program reads.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "phrases/command_tree.h"
#include "platform/types.h"

namespace wlk::editor {

// A ".wordlark" file in the folder that the program's loader skipped.
struct UnreadFile {
    Text path;    // the whole path
    Text folder;  // the folder holding it, ending with a backslash
    Text reason;  // why, as the program's log says it
};

struct SaveReport {
    // Paths that could not be written, moved or deleted; what they held is
    // still in the editor, marked changed.
    std::vector<Text> failed;
    bool Ok() const { return failed.empty(); }
};

class PhraseDocument {
public:
    // Loads `folder` (ending with a backslash) through the program's loader,
    // lists the files it skipped and forgets every change. False when the
    // folder does not exist. The phrases of groups are left for ReadGroup, so
    // that a library of thousands opens at once; until then a group holds
    // only its subgroups.
    bool Load(const Text& folder);
    // Reads the phrases of a group loaded without them, and lists the files
    // of its folder that the loader skipped. False when there is nothing to read.
    bool ReadGroup(uint32_t groupId);
    bool IsRead(uint32_t groupId) const { return pendingGroups_.count(groupId) == 0; }
    // Reads every group above the node, so that it can be shown in its place.
    void ReadGroupsAbove(uint32_t id);
    const Text& Folder() const { return tree_.Folder(); }
    const phrases::CWLKCommandTree& Tree() const { return tree_; }
    const std::vector<UnreadFile>& UnreadFiles() const { return unread_; }

    // The edits. A group id of 0 is the top level; new and moved nodes go to
    // the end of their group, which is read first, as a removed group is. Each returns 0 or false, changing nothing, for
    // an unknown id, a phrase given as a group, a move into itself or a name
    // that leaves nothing to show. Names are kept as a reload would give
    // them back: a phrase's cut to the menu's room, a group's made into the
    // name of its folder.
    uint32_t AddPhrase(uint32_t groupId, const Text& name, const Text& body);
    uint32_t AddGroup(uint32_t groupId, const Text& name);
    bool Rename(uint32_t id, const Text& name);
    // Any other field (body, type, hint, flags); `change` must not touch
    // children, id or path. A change that alters nothing written leaves the
    // node unchanged.
    bool Edit(uint32_t id, const std::function<void(phrases::CWLKCommand&)>& change);
    // A group goes with everything in it.
    bool Remove(uint32_t id);
    // Within its group, written as "SortID".
    bool MoveUp(uint32_t id);
    bool MoveDown(uint32_t id);
    bool MoveToGroup(uint32_t id, uint32_t groupId);

    bool IsModified() const;
    bool IsModified(uint32_t id) const;

    // Writes every changed phrase and group, moves the files of moved ones and
    // deletes those of removed ones. New files get names made from the phrase
    // name, unique in their folder. Unread files are never written, moved or
    // deleted; a removed group's folder goes only when nothing is left in it.
    SaveReport Save();

    // Paths of loaded or saved files whose size or last-write time on disk is
    // no longer what it was when the editor read or wrote them.
    std::vector<Text> ChangedOnDisk() const;
    // The user keeps the editor's version of those files: they are no longer
    // reported, and their nodes are written again at the next save.
    void KeepOwnVersions();

private:
    // A file as its folder's listing shows it: while both stay, nobody wrote it.
    struct DiskStamp {
        uint64_t size = 0;
        uint64_t lastWrite = 0;
        bool operator==(const DiskStamp&) const = default;
    };

    void Forget();
    // Stamps the files of `folder` read into `nodes` (and the descriptor of
    // `group`, when given) and lists the phrase files there that were skipped.
    void TakeStock(const Text& folder, const phrases::CommandList& nodes,
                   const phrases::CWLKCommand* group);
    static std::map<Text, DiskStamp> StampsIn(const Text& folder);
    static std::optional<DiskStamp> StampOf(const Text& path);
    void MarkChanged(phrases::CWLKCommand& node);
    void Renumber(phrases::CommandList& list);
    uint32_t Append(phrases::CommandList& list, phrases::CWLKCommand node);

    void DeleteRemovedFiles(SaveReport& report);
    void RemoveEmptiedFolders();
    void SaveList(phrases::CommandList& list, const Text& folder, SaveReport& report);
    void SaveGroup(phrases::CWLKCommand& group, const Text& folder, SaveReport& report);
    void SavePhrase(phrases::CWLKCommand& phrase, const Text& folder, SaveReport& report);
    bool PlaceFolder(phrases::CWLKCommand& group, const Text& folder, SaveReport& report);
    bool PlaceFile(phrases::CWLKCommand& phrase, const Text& folder, SaveReport& report);
    void WriteNode(phrases::CWLKCommand& node, const Text& file, SaveReport& report);
    // Every path kept at or below `from` now lies below `to`.
    void Rebase(const Text& from, const Text& to);

    phrases::CWLKCommandTree tree_;
    std::vector<UnreadFile> unread_;
    std::set<uint32_t> pendingGroups_;       // groups whose phrases are not read yet
    std::set<uint32_t> changed_;             // ids to write
    std::vector<Text> removedFiles_;         // files of removed nodes
    std::vector<Text> removedFolders_;       // folders of removed groups, outermost first
    std::map<Text, DiskStamp> knownStamps_;  // path → stamp when read or written
};

// The name a new phrase takes from its body: the first line that is not
// blank, trimmed, cut to the menu's room with "..." at the end.
Text NameFromText(const Text& text);

}  // namespace wlk::editor
