// Building the phrase menu's model for 1,999 phrases in 40 groups and 30
// clipboard history items, against merely walking the same phrase tree, side
// by side in the same iterations, with the real locale functions behind the
// dates every label previews.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/bench_clock.h"
#include "bench/bench_options.h"
#include "history/ch_queue.h"
#include "menu/menu_builder.h"
#include "menu/phrase_item_cache.h"
#include "platform/text.h"

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr int kGroups = 40;
constexpr int kPhrases = 1999;
constexpr int kHistoryItems = 30;
// Group ids lie above the phrases': only phrase ids must stay below 2000.
constexpr uint32_t kFirstGroupId = 3000;

phrases::CWLKCommand Phrase(uint32_t id) {
    phrases::CWLKCommand phrase;
    phrase.id = id;
    phrase.name = u"Reply " + ToText(id) + u" & thanks";
    phrase.command =
        u"Dear %CLIPBOARD_TEXT%,\r\n\r\nthank you for your message of %DATE%. We appreciate "
        u"it and will answer within two working days.\r\n\r\nKind regards,\r\n%CURSOR_POS%";
    return phrase;
}

void FillTree(phrases::CWLKCommandTree& tree, int groups, int phrases) {
    uint32_t id = 1;
    for (int g = 0; g < groups; ++g) {
        phrases::CWLKCommand group;
        group.id = kFirstGroupId + static_cast<uint32_t>(g);
        group.name = u"Group " + ToText(g);
        group.MakeGroup();
        const int inGroup = phrases / groups + (g < phrases % groups ? 1 : 0);
        for (int i = 0; i < inGroup; ++i) group.children->push_back(Phrase(id++));
        tree.Commands().push_back(std::move(group));
    }
}

void FillHistory(history::CCHQueue& queue, int count) {
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<history::CCHItem>(history::CHT_TEXT_UNICODE);
        item->SetUnicodeText(u"Copied text number " + ToText(i) +
                             u"\r\nwith a second line that the menu leaves out");
        queue.Append(std::move(item));
    }
}

size_t CountItems(const menu::MenuModel& menu) {
    size_t count = menu.items.size();
    for (const auto& entry : menu.items)
        if (entry.submenu) count += CountItems(*entry.submenu);
    return count;
}

// Per iteration: the walk; a menu made afresh, as the first press after a
// load; the same request again through the item cache, as a second press;
// and a request with a new clipboard text, which every phrase here shows.
void BM_MenuModelVersusTreeWalk(benchmark::State& state) {
    phrases::CWLKCommandTree tree;
    FillTree(tree, bench::Scaled(kGroups), bench::Scaled(kPhrases));
    history::CCHQueue queue(u"");
    FillHistory(queue, bench::Scaled(kHistoryItems));
    menu::LastUsedList lastUsed;
    for (uint32_t id : {7u, 5u, 3u}) lastUsed.SetLastUsed(id, 3);
    menu::MenuOptions options;
    options.maxHistory = 0;
    const menu::MenuSources sources{tree, &queue, lastUsed, options, nullptr};
    menu::MenuRequest request{u"selected words", u"Mr Smith", 0x04090409};
    menu::PhraseItemCache cache;

    double walkSeconds = 0, freshSeconds = 0, againSeconds = 0, newClipSeconds = 0;
    size_t items = 0;
    int run = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        size_t chars = 0;
        tree.ForEach([&chars](const phrases::CWLKCommand& node) {
            chars += node.name.size() + node.command.size();
            return true;
        });
        benchmark::DoNotOptimize(chars);
        const auto walked = Clock::now();
        auto menu = menu::MakeMenu(sources, request);
        const auto fresh = Clock::now();
        auto again = menu::MakeMenu(sources, request, &cache);
        const auto cached = Clock::now();
        request.clipboardText = u"Mr Smith " + ToText(++run);
        auto newClip = menu::MakeMenu(sources, request, &cache);
        const auto remade = Clock::now();
        items = menu && again && newClip ? CountItems(*menu) : 0;
        walkSeconds += Seconds(walked - start);
        freshSeconds += Seconds(fresh - walked);
        againSeconds += Seconds(cached - fresh);
        newClipSeconds += Seconds(remade - cached);
        state.SetIterationTime(Seconds(cached - fresh));
    }
    if (items < size_t(bench::Scaled(kPhrases) + bench::Scaled(kHistoryItems))) {
        state.SkipWithError("the menu did not hold every phrase and history item");
        return;
    }
    const double n = double(state.iterations());
    state.counters["walk_ms"] = walkSeconds / n * 1e3;
    state.counters["fresh_ms"] = freshSeconds / n * 1e3;
    state.counters["again_ms"] = againSeconds / n * 1e3;
    state.counters["new_clip_ms"] = newClipSeconds / n * 1e3;
    std::printf(
        "menu model: walk %.3f ms; fresh %.3f ms (ratio %.1f), again %.3f ms (ratio %.1f), "
        "new clipboard %.3f ms (ratio %.1f) (%zu items)\n",
        walkSeconds / n * 1e3, freshSeconds / n * 1e3, freshSeconds / walkSeconds,
        againSeconds / n * 1e3, againSeconds / walkSeconds, newClipSeconds / n * 1e3,
        newClipSeconds / walkSeconds, items);
}
BENCHMARK(BM_MenuModelVersusTreeWalk)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
