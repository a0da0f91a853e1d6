// The clipboard history as entries of a menu (the tray menu's history part).
#pragma once

#include <cstdint>

#include "history/ch_queue.h"
#include "platform/types.h"

namespace wlk::history {

// The few menu operations the entries need; the tray window implements them
// on its HMENU.
class HistoryMenuSink {
public:
    virtual ~HistoryMenuSink() = default;
    virtual bool LastIsSeparator() = 0;
    virtual void AppendSeparator() = 0;
    virtual void AppendItem(uint32_t commandId, const Text& text) = 0;
    virtual void SetDefaultItem(uint32_t commandId) = 0;
};

inline constexpr uint32_t kTrayHistoryFirstId = 34000;
inline constexpr size_t kMenuTitleChars = 50;

// One entry per item, newest first, with ids from `firstId`; the entry whose
// item holds exactly `clipboardText` becomes the default. The number of entries.
size_t AppendHistoryEntries(const CCHQueue& queue, HistoryMenuSink& menu, uint32_t firstId,
                            const Text& clipboardText);

}  // namespace wlk::history
