#include "pane/pane_filter.h"

#include <algorithm>
#include <unordered_set>

#include "pane/pane_texts.h"
#include "platform/text.h"

namespace wlk::pane {

using history::CCHItem;
using history::CCHQueue;

namespace {

bool Parts(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool HasEvery(std::u16string_view text, const std::vector<Text>& words) {
    return std::all_of(words.begin(), words.end(),
                       [&](const Text& word) { return text.find(word) != text.npos; });
}

}  // namespace

std::vector<Text> QueryWords(std::u16string_view query) {
    std::vector<Text> words;
    size_t at = 0;
    while (at < query.size()) {
        while (at < query.size() && Parts(query[at])) ++at;
        const size_t start = at;
        while (at < query.size() && !Parts(query[at])) ++at;
        if (at > start) words.push_back(ToLower(query.substr(start, at - start)));
    }
    return words;
}

std::vector<size_t> PaneFilter::Apply(const CCHQueue& queue, std::u16string_view query) {
    // Texts of deleted items would pile up over a long run.
    if (kept_.size() > 2 * queue.Count() + 64) Prune(queue);
    const std::vector<Text> words = QueryWords(query);
    std::vector<size_t> positions;
    positions.reserve(queue.Count());
    for (size_t position = 0; position < queue.Count(); ++position)
        if (words.empty() || HasEvery(SearchText(*queue.Newest(position)), words))
            positions.push_back(position);
    return positions;
}

void PaneFilter::Prune(const CCHQueue& queue) {
    std::unordered_set<uint32_t> ids;
    for (const auto& item : queue.Items()) ids.insert(item->id);
    std::erase_if(kept_, [&](const auto& entry) { return !ids.contains(entry.first); });
}

const Text& PaneFilter::SearchText(const CCHItem& item) {
    auto [it, added] = kept_.try_emplace(item.id);
    Kept& kept = it->second;
    if (added || kept.stamp != item.stamp) {
        const Text text = ItemText(item);
        kept.text = ToLower(text.empty() ? TypeName(item.Type()) : text);
        kept.stamp = item.stamp;
    }
    return kept.text;
}

}  // namespace wlk::pane
