#include "history/history_menu.h"

namespace wlk::history {

size_t AppendHistoryEntries(const CCHQueue& queue, HistoryMenuSink& menu, uint32_t firstId,
                            const Text& clipboardText) {
    if (!menu.LastIsSeparator()) menu.AppendSeparator();
    for (size_t position = 0; position < queue.Count(); ++position) {
        const CCHItem& item = *queue.Newest(position);
        const uint32_t id = firstId + uint32_t(position);
        Text text = item.Title(kMenuTitleChars, true);
        // A blank in front keeps the text clear of the menu's check-mark column.
        if (text.empty() || text[0] != u' ') text.insert(0, 1, u' ');
        menu.AppendItem(id, text);
        const bool isText = item.Type() == CHT_TEXT_UNICODE || item.Type() == CHT_TEXT_ANSI;
        if (isText && item.PlainText() == clipboardText) menu.SetDefaultItem(id);
    }
    return queue.Count();
}

}  // namespace wlk::history
