// The history on disk between runs: background saves and the load at start,
// each working on copies and handing results to the clipboard handler window
// by SendMessage.
//
// The tray window's clipboard handler wires it up so:
//   - at creation, when SaveHistoryEnabled(): LoadHistory(queue.Folder(), window);
//   - on WM_CH_SAVE_REQUEST: SaveHistory(queue, window, SaveHistoryEnabled());
//   - on ItemSavedMessage(): OnItemSaved(queue, lParam);
//   - on HistoryLoadedMessage(): OnHistoryLoaded(queue, lParam, HistoryMaximum()),
//     then its WM_NOTIFY 0xB01 to the tray window;
//   - on exit: SaveNow(queue, SaveHistoryEnabled()).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

#include "history/ch_queue.h"
#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::history {

// Signalled while no one writes the folder; shared with other instances of the session.
inline constexpr char16_t kSaveLoadEventName[] = u"Local\\Wordlark_SaveLoad_CH";
inline constexpr char16_t kItemSavedMessageName[] = u"{F762C94C-9D69-4a96-B8FD-7F53F4157D13}";
inline constexpr char16_t kHistoryLoadedMessageName[] = u"{278BB95C-BECC-4945-9CDF-98E5CDC69FEF}";

// "SaveClipboardHistory_v198" and "ClipboardHistoryMax" of the settings.
bool SaveHistoryEnabled();
size_t HistoryMaximum();

// Creates the history folder (one level) when it is missing.
bool EnsureFolder(const Text& folder);
// The items the ".info" files of `folder` describe, sorted by time. Of two
// with the same content the later file's is kept, protected when either was,
// and the other's files are deleted.
std::unique_ptr<CCHQueue> LoadFolder(const Text& folder);

class HistoryStore {
public:
    // Registers the two messages and opens the save/load event.
    HistoryStore();

    uint32_t ItemSavedMessage() const { return itemSaved_; }
    uint32_t HistoryLoadedMessage() const { return historyLoaded_; }

    // Starts a thread writing copies of the unsaved items; false when the
    // setting is off, nothing is unsaved, or the folder cannot be made.
    bool SaveHistory(const CCHQueue& queue, platform::WindowId window, bool enabled);
    // Starts a thread reading the folder; the result arrives as HistoryLoadedMessage().
    bool LoadHistory(const Text& folder, platform::WindowId window);
    // Writes the unsaved items on this thread, for the end of the run; the
    // number written.
    int SaveNow(CCHQueue& queue, bool enabled);

    // The handler's side of the two messages. OnItemSaved is true when the
    // live item took the copy's files; the files of a copy whose item is gone
    // are deleted.
    static bool OnItemSaved(CCHQueue& queue, intptr_t lParam);
    static bool OnHistoryLoaded(CCHQueue& queue, intptr_t lParam, size_t maximum);

private:
    // Keys and stamps of the item states a save thread holds copies of: a
    // second request before the first one's results came back must not write
    // them again, but must write a state that changed since.
    struct InFlight {
        std::mutex mutex;
        std::set<std::pair<Text, uint64_t>> states;
    };

    uint32_t itemSaved_;
    uint32_t historyLoaded_;
    std::shared_ptr<platform::Event> event_;
    std::shared_ptr<InFlight> inFlight_ = std::make_shared<InFlight>();
};

}  // namespace wlk::history
