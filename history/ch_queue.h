// The clipboard history: items oldest first, the maximum with its protected
// exceptions, and an undo pool of the destructive operations.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "history/ch_item.h"
#include "platform/types.h"

namespace wlk::history {

enum class UndoKind : int32_t { Clear = 0, Delete = 1 };

struct CCHUndoEntry {
    std::vector<std::unique_ptr<CCHItem>> copies;  // oldest first
    UndoKind kind = UndoKind::Clear;
};

using ItemList = std::vector<std::unique_ptr<CCHItem>>;

class CCHQueue {
public:
    // The history folder beside the program.
    CCHQueue();
    // A queue whose files live in `folder` (ending with a backslash).
    explicit CCHQueue(Text folder);
    virtual ~CCHQueue();
    CCHQueue(const CCHQueue&) = delete;
    CCHQueue& operator=(const CCHQueue&) = delete;

    // Takes `item` unless the queue is locked; a duplicate of an older item
    // replaces it at the top with its id and protection, and the older
    // item's files are deleted. The oldest
    // unprotected items beyond `maximum` are dropped with their files.
    bool Add(std::unique_ptr<CCHItem>& item, size_t maximum);
    bool Clear();
    // Positions count from the newest (0). Protected items stay.
    bool Delete(const std::vector<int>& positions, bool makeUndo);
    bool Undo();
    // The item at `position` (0: the newest) goes to the top with the time of
    // now, as a fresh copy of it would, and is written anew so that it stays
    // there after a restart. False when there is no such item.
    bool MoveToNewest(size_t position);
    void ClearUndoPool() { undo_.clear(); }
    size_t UndoCount() const { return undo_.size(); }

    size_t Count() const { return items_.size(); }
    bool IsLocked() const { return locked_; }
    void SetLocked(bool on) { locked_ = on; }

    // Index from the oldest, or -1.
    int FindIndexById(uint32_t id) const;
    CCHItem* FindByKey(const Text& key) const;
    // By time, oldest first.
    void SortByTime();
    // Copies of the items not on disk, for a writer on another thread.
    ItemList CopyUnsaved() const;
    // Deletes the files of the history folder except those named in `keep`
    // (all when it is empty); the number deleted.
    int Clear_Directory_Exclude(const std::vector<Text>& keep);

    // Oldest first.
    const ItemList& Items() const { return items_; }
    CCHItem* At(size_t index) const { return items_[index].get(); }
    // Position from the newest, as the menu and the pane count; null past the end.
    CCHItem* Newest(size_t position) const;
    // Appends without the duplicate rule and the maximum.
    void Append(std::unique_ptr<CCHItem> item);
    // Removes all but the newest `count` items and the protected ones; the
    // files of the removed stay on disk.
    void KeepNewest(size_t count);
    ItemList TakeAll();
    const Text& Folder() const { return folder_; }

private:
    // The newest `count` items and every protected one; the files of the
    // others go too when `removeFiles`.
    void Keep(size_t count, bool removeFiles);

    ItemList items_;
    bool locked_ = false;
    std::vector<CCHUndoEntry> undo_;
    Text folder_;
};

// `newer` holds what `older` held and takes its place: it takes its id and
// its protection (on disk too when it is there), and the older item's files
// are deleted.
void ReplaceDuplicate(const CCHItem& older, CCHItem& newer);

}  // namespace wlk::history
