#include "history/ch_queue.h"

#include <algorithm>
#include <set>
#include <utility>

#include "history/history_folder.h"
#include "history/history_time.h"
#include "history/item_compare.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

// Copies for the undo pool: written anew when they come back.
std::unique_ptr<CCHItem> UndoCopy(const CCHItem& item) {
    // With formats of its own: their paths are the live item's business.
    auto copy = item.DetachedCopy();
    if (copy) copy->ResetSaved();
    return copy;
}

}  // namespace

void ReplaceDuplicate(const CCHItem& older, CCHItem& newer) {
    newer.id = older.id;
    // A protected copy stays protected, whichever of the two it was.
    if (older.isProtected) newer.SetProtected(true);
    // Left on disk, the older files would load as a second copy; two info
    // files may name the same data file, which the newer one still needs.
    std::vector<Text> files = FilesOf(older);
    const std::vector<Text> kept = FilesOf(newer);
    std::erase_if(files, [&](const Text& path) {
        return std::any_of(kept.begin(), kept.end(),
                           [&](const Text& own) { return EqualsIgnoreCase(own, path); });
    });
    RemoveFiles(files);
}

CCHQueue::CCHQueue() : CCHQueue(HistoryFolder()) {}

CCHQueue::CCHQueue(Text folder) : folder_(std::move(folder)) {}

CCHQueue::~CCHQueue() = default;

bool CCHQueue::Add(std::unique_ptr<CCHItem>& item, size_t maximum) {
    if (locked_ || !item) return false;
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (!SameContent(**it, *item)) continue;
        ReplaceDuplicate(**it, *item);
        items_.erase(it);
        items_.push_back(std::move(item));
        return true;
    }
    items_.push_back(std::move(item));
    Keep(maximum, true);
    return true;
}

bool CCHQueue::Clear() {
    if (items_.empty()) {
        Clear_Directory_Exclude({});
        return false;
    }
    CCHUndoEntry entry{{}, UndoKind::Clear};
    for (const auto& item : items_)
        if (auto copy = UndoCopy(*item)) entry.copies.push_back(std::move(copy));
    undo_.push_back(std::move(entry));

    std::vector<Text> files;
    ItemList kept;
    for (auto& item : items_) {
        if (item->isProtected) {
            kept.push_back(std::move(item));
        } else {
            auto paths = FilesOf(*item);
            files.insert(files.end(), paths.begin(), paths.end());
        }
    }
    items_ = std::move(kept);
    RemoveFiles(files);
    // The folder is emptied below; the protected items must be written again,
    // and a save already on its way writes them from a state now gone.
    for (auto& item : items_) item->ResetSaved();
    Clear_Directory_Exclude({});
    return true;
}

bool CCHQueue::Delete(const std::vector<int>& positions, bool makeUndo) {
    if (positions.empty() || items_.empty()) return false;
    const std::set<int> selected(positions.begin(), positions.end());
    auto isSelected = [&](size_t index) {
        return selected.count(int(items_.size() - 1 - index)) != 0;
    };
    if (makeUndo) {
        // Protected items are not deleted, so they are not in the snapshot
        // either: Undo would bring them back a second time.
        CCHUndoEntry entry{{}, UndoKind::Delete};
        for (size_t i = 0; i < items_.size(); ++i) {
            if (!isSelected(i) || items_[i]->isProtected) continue;
            if (auto copy = UndoCopy(*items_[i])) entry.copies.push_back(std::move(copy));
        }
        if (!entry.copies.empty()) undo_.push_back(std::move(entry));
    }
    std::vector<Text> files;
    ItemList kept;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (isSelected(i) && !items_[i]->isProtected) {
            auto paths = FilesOf(*items_[i]);
            files.insert(files.end(), paths.begin(), paths.end());
        } else {
            kept.push_back(std::move(items_[i]));
        }
    }
    items_ = std::move(kept);
    RemoveFiles(files);
    return true;
}

bool CCHQueue::MoveToNewest(size_t position) {
    if (position >= items_.size()) return false;
    const auto it = items_.end() - 1 - std::ptrdiff_t(position);
    std::unique_ptr<CCHItem> item = std::move(*it);
    items_.erase(it);
    item->time = platform::Current().system.Now();
    // The files' creation time is the item's time.
    item->MarkChanged();
    items_.push_back(std::move(item));
    return true;
}

bool CCHQueue::Undo() {
    if (undo_.empty()) return false;
    CCHUndoEntry entry = std::move(undo_.back());
    undo_.pop_back();
    if (entry.kind == UndoKind::Clear) {
        // Whatever came after the Clear is gone, from disk too; the copies
        // brought back are written anew.
        for (const auto& item : items_) RemoveFiles(FilesOf(*item));
        items_.clear();
    }
    for (auto& copy : entry.copies) items_.push_back(std::move(copy));
    return true;
}

int CCHQueue::FindIndexById(uint32_t id) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->id == id) return int(i);
    return -1;
}

CCHItem* CCHQueue::FindByKey(const Text& key) const {
    for (const auto& item : items_)
        if (item->key == key) return item.get();
    return nullptr;
}

void CCHQueue::SortByTime() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const auto& a, const auto& b) { return Earlier(a->time, b->time); });
}

ItemList CCHQueue::CopyUnsaved() const {
    ItemList copies;
    for (const auto& item : items_) {
        if (item->saved != SavedState::NotOnDisk) continue;
        if (auto copy = item->DetachedCopy()) copies.push_back(std::move(copy));
    }
    return copies;
}

int CCHQueue::Clear_Directory_Exclude(const std::vector<Text>& keep) {
    auto& log = log::EventLog::Instance();
    log.Write(u"CCHQueue::Clear_Directory_Exclude");
    auto& files = platform::Current().files;
    if (files.Kind(folder_) != platform::PathKind::Directory) {
        log.Write(u"INVALID_HANDLE_VALUE  in CCHQueue::Clear_Directory_Exclude");
        return 0;
    }
    int deleted = 0;
    // "*", which is what "*.*" means to FindFirstFileW: names without a dot too.
    for (const auto& entry : files.List(folder_, u"*")) {
        if (entry.directory) continue;
        const bool kept = std::any_of(keep.begin(), keep.end(), [&](const Text& name) {
            return EqualsIgnoreCase(name, entry.name);
        });
        if (kept) continue;
        if (RemoveHistoryFile(folder_ + entry.name))
            ++deleted;
        else
            log.Write(u"Cannot delete the: " + entry.name);
    }
    return deleted;
}

CCHItem* CCHQueue::Newest(size_t position) const {
    return position < items_.size() ? items_[items_.size() - 1 - position].get() : nullptr;
}

void CCHQueue::Append(std::unique_ptr<CCHItem> item) {
    if (item) items_.push_back(std::move(item));
}

void CCHQueue::KeepNewest(size_t count) {
    Keep(count, false);
}

void CCHQueue::Keep(size_t count, bool removeFiles) {
    if (items_.size() <= count) return;
    ItemList kept;
    size_t keptCount = 0;
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (keptCount < count || (*it)->isProtected) {
            ++keptCount;
            kept.push_back(std::move(*it));
        } else if (removeFiles) {
            RemoveFiles(FilesOf(**it));
        }
    }
    std::reverse(kept.begin(), kept.end());
    items_ = std::move(kept);
}

ItemList CCHQueue::TakeAll() {
    return std::exchange(items_, {});
}

}  // namespace wlk::history
