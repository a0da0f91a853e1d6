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
    const menu::MenuRequest request{u"selected words", u"Mr Smith", 0x04090409};

    double walkSeconds = 0;
    double makeSeconds = 0;
    size_t items = 0;
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
        const auto made = Clock::now();
        items = menu ? CountItems(*menu) : 0;
        walkSeconds += Seconds(walked - start);
        makeSeconds += Seconds(made - walked);
        state.SetIterationTime(Seconds(made - walked));
    }
    if (items < size_t(bench::Scaled(kPhrases) + bench::Scaled(kHistoryItems))) {
        state.SkipWithError("the menu did not hold every phrase and history item");
        return;
    }
    const double n = double(state.iterations());
    state.counters["walk_ms"] = walkSeconds / n * 1e3;
    state.counters["make_ms"] = makeSeconds / n * 1e3;
    state.counters["ratio"] = makeSeconds / walkSeconds;
    std::printf("menu model: walk %.3f ms, make %.3f ms, ratio %.1f (%zu items)\n",
                walkSeconds / n * 1e3, makeSeconds / n * 1e3, makeSeconds / walkSeconds, items);
}
BENCHMARK(BM_MenuModelVersusTreeWalk)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
