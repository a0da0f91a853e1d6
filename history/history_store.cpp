#include "history/history_store.h"

#include <unordered_map>

#include "history/item_compare.h"
#include "history/item_files.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace wlk::history {

namespace {

void Wait(platform::Event* event) {
    if (!event) return;
    platform::Event* events[] = {event};
    platform::Current().sync.WaitAny(events, platform::kInfinite);
}

}  // namespace

bool SaveHistoryEnabled() {
    return settings::Settings::Instance().Get(settings::IntSetting::SaveClipboardHistory) != 0;
}

size_t HistoryMaximum() {
    const int maximum =
        settings::Settings::Instance().Get(settings::IntSetting::ClipboardHistoryMax);
    return maximum < 0 ? 0 : size_t(maximum);
}

bool EnsureFolder(const Text& folder) {
    auto& files = platform::Current().files;
    if (files.Kind(folder) == platform::PathKind::Directory) return true;
    return files.CreateDirectory(folder, platform::Security::Default);
}

std::unique_ptr<CCHQueue> LoadFolder(const Text& folder) {
    // The duplicate rule of Add, looked up by a hash of the content: the
    // items in the order they were taken, a slot emptied when a later
    // duplicate replaced its item.
    ItemList items;
    std::unordered_multimap<uint64_t, size_t> byContent;
    auto& files = platform::Current().files;
    const FileSizes sizes = SizesOf(files.List(folder, u"*"));
    for (const auto& entry : files.List(folder, u"*.info")) {
        if (entry.directory) continue;
        auto item = LoadInfoItem(folder, entry.name, sizes);
        if (!item) continue;
        if (const auto hash = ContentHash(*item)) {
            const auto [first, last] = byContent.equal_range(*hash);
            for (auto it = first; it != last; ++it) {
                if (!SameContent(*items[it->second], *item)) continue;
                ReplaceDuplicate(*items[it->second], *item);
                items[it->second].reset();
                byContent.erase(it);
                break;
            }
            byContent.emplace(*hash, items.size());
        }
        items.push_back(std::move(item));
    }
    auto queue = std::make_unique<CCHQueue>(folder);
    for (auto& item : items) queue->Append(std::move(item));
    if (queue->Count()) queue->SortByTime();
    return queue;
}

HistoryStore::HistoryStore() {
    auto& p = platform::Current();
    itemSaved_ = p.ui.RegisterMessage(kItemSavedMessageName);
    historyLoaded_ = p.ui.RegisterMessage(kHistoryLoadedMessageName);
    event_ = p.sync.CreateEvent(kSaveLoadEventName, true, true, platform::Security::Default);
    if (!event_) log::EventLog::Instance().WriteError(u"Cannot create Wordlark_SaveLoad_CH");
}

bool HistoryStore::SaveHistory(const CCHQueue& queue, platform::WindowId window, bool enabled) {
    if (!enabled || queue.Count() == 0) return false;
    const Text folder = queue.Folder();
    if (!EnsureFolder(folder)) return false;
    // Shared, so that the thread body stays copyable; the thread is its only user.
    auto copies = std::make_shared<ItemList>();
    {
        std::lock_guard lock(inFlight_->mutex);
        for (auto& copy : queue.CopyUnsaved()) {
            // A state already on its way is not written twice; a newer one is.
            if (inFlight_->states.emplace(copy->key, copy->stamp).second)
                copies->push_back(std::move(copy));
        }
    }
    if (copies->empty()) return false;
    auto release = [inFlight = inFlight_](const CCHItem& copy) {
        std::lock_guard lock(inFlight->mutex);
        inFlight->states.erase({copy.key, copy.stamp});
    };
    auto& p = platform::Current();
    const bool started = p.threads.Start(
        [&p, folder, copies, window, release, event = event_, message = itemSaved_] {
            // Another save, here or in another instance, must finish first.
            Wait(event.get());
            if (event) event->Reset();
            NameAllocator names(folder);
            for (auto& copy : *copies) {
                if (SaveItem(folder, *copy, names))
                    p.ui.SendMessage(window, message, 0, reinterpret_cast<intptr_t>(copy.get()));
                release(*copy);
            }
            copies->clear();
            if (event) event->Set();
        });
    if (!started) {
        for (auto& copy : *copies) release(*copy);
    }
    return started;
}

bool HistoryStore::LoadHistory(const Text& folder, platform::WindowId window) {
    auto& p = platform::Current();
    return p.threads.Start([&p, folder, window, event = event_, message = historyLoaded_] {
        // At start nobody else of this run writes; a save of another instance
        // waits for the folder until the load is done.
        if (event) event->Reset();
        auto loaded = LoadFolder(folder);
        if (loaded->Count())
            p.ui.SendMessage(window, message, 0, reinterpret_cast<intptr_t>(loaded.get()));
        loaded.reset();
        if (event) event->Set();
    });
}

int HistoryStore::SaveNow(CCHQueue& queue, bool enabled) {
    if (!enabled || queue.Count() == 0 || !EnsureFolder(queue.Folder())) return 0;
    // A background save still running would wait here for this very thread
    // (its SendMessage), so the event is only taken when it is free at once.
    // CREATE_NEW keeps the two writers apart anyway.
    platform::Event* events[] = {event_.get()};
    const bool owned =
        event_ && platform::Current().sync.WaitAny(events, 0) == platform::kWaitObject0;
    if (owned) event_->Reset();
    int written = 0;
    NameAllocator names(queue.Folder());
    for (auto& copy : queue.CopyUnsaved()) {
        if (!SaveItem(queue.Folder(), *copy, names)) continue;
        if (OnItemSaved(queue, reinterpret_cast<intptr_t>(copy.get()))) ++written;
    }
    if (owned) event_->Set();
    return written;
}

bool HistoryStore::OnItemSaved(CCHQueue& queue, intptr_t lParam) {
    const auto* saved = reinterpret_cast<const CCHItem*>(lParam);
    if (!saved) return false;
    CCHItem* live = queue.FindByKey(saved->key);
    if (!live) {
        // Deleted (or replaced by a duplicate) while it was written: its files
        // go too, or it would come back at the next start.
        RemoveFiles(FilesOf(*saved));
        return false;
    }
    return live->AdoptSaved(*saved);
}

bool HistoryStore::OnHistoryLoaded(CCHQueue& queue, intptr_t lParam, size_t maximum) {
    auto* loaded = reinterpret_cast<CCHQueue*>(lParam);
    if (!loaded) return false;
    for (auto& item : loaded->TakeAll()) queue.Append(std::move(item));
    queue.SortByTime();
    // The newest and the protected; the files of the others stay on disk.
    queue.KeepNewest(maximum);
    return true;
}

}  // namespace wlk::history
