// Find as you type: which history items the pane lists for what the user
// typed into its search field. Every word of the query must occur in the
// item's text, letter case ignored; items without text are found by their
// type's name. The search texts are made once per item state and kept, so
// that a keystroke over 10,000 items only scans.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "history/ch_queue.h"
#include "platform/types.h"

namespace wlk::pane {

// The query's words, lower-cased; blanks, tabs and line breaks part them.
std::vector<Text> QueryWords(std::u16string_view query);

class PaneFilter {
public:
    // Positions (0: the newest) of the items that match `query`, newest first;
    // every position for a query without words.
    std::vector<size_t> Apply(const history::CCHQueue& queue, std::u16string_view query);

private:
    // Drops the kept texts of items no longer in `queue`.
    void Prune(const history::CCHQueue& queue);
    struct Kept {
        uint64_t stamp = 0;
        Text text;  // lower-cased
    };
    const Text& SearchText(const history::CCHItem& item);

    std::unordered_map<uint32_t, Kept> kept_;  // by item id
};

}  // namespace wlk::pane
