// Find as you type in the history pane: 10,000 items of a few sentences each
// in three languages, filtered for each letter of "invoice march" as the user
// types it, against scanning the same 10,000 lower-cased texts once for one
// word with std::u16string_view::find in the same iterations. The counter
// "ratio" is the time of a keystroke divided by that scan's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iterator>
#include <string_view>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/bench_options.h"
#include "history/ch_queue.h"
#include "pane/pane_filter.h"
#include "platform/text.h"

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr int kItems = 10000;
constexpr std::u16string_view kQuery = u"invoice march";

constexpr std::u16string_view kSentences[] = {
    u"Please find attached the invoice for March. ",
    u"The meeting moves to Thursday afternoon, room 4.12. ",
    u"Счёт за март оплачен, копию платёжки пришлю завтра. ",
    u"Bitte senden Sie uns die Rechnung bis Ende der Woche. ",
    u"Our order number is 4711-B, delivery to the warehouse in Leeds. ",
    u"Напоминаю, что отчёт нужно сдать до пятницы. ",
    u"Der Termin im März ist bestätigt; wir freuen uns auf Ihren Besuch. ",
    u"Kind regards,\r\nMaria Schmidt\r\nAccounts Payable\r\n",
    u"https://example.com/orders/2024/03/overview?page=2 ",
    u"The March figures look better than February's, see the table below. ",
    u"Спасибо! Договор подпишем на следующей неделе. ",
    u"Could you resend the invoice? The attachment was empty. ",
};

Text ItemText(unsigned i) {
    Text text;
    unsigned seed = i * 2654435761u + 12345u;
    const unsigned sentences = 2 + i % 4;
    for (unsigned s = 0; s < sentences; ++s) {
        seed = seed * 1103515245u + 12345u;
        text += kSentences[(seed >> 16) % std::size(kSentences)];
    }
    return text + u"#" + ToText(i);
}

void BM_PaneFilterPerKeystroke(benchmark::State& state) {
    const int items = bench::Scaled(kItems);
    history::CCHQueue queue(u"");
    std::vector<Text> lowered;
    for (int i = 0; i < items; ++i) {
        auto item = std::make_unique<history::CCHItem>(history::CHT_TEXT_UNICODE);
        item->SetUnicodeText(ItemText(unsigned(i)));
        lowered.push_back(ToLower(item->PlainText()));
        queue.Append(std::move(item));
    }
    pane::PaneFilter filter;
    filter.Apply(queue, u"x");  // makes the search texts, as the pane's first keystroke does

    double scanSeconds = 0, filterSeconds = 0;
    size_t scanned = 0, found = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        scanned = 0;
        for (const Text& text : lowered)
            scanned += std::u16string_view(text).find(u"march") != std::u16string_view::npos;
        const auto scannedAt = Clock::now();
        for (size_t typed = 1; typed <= kQuery.size(); ++typed)
            found = filter.Apply(queue, kQuery.substr(0, typed)).size();
        const auto filteredAt = Clock::now();
        scanSeconds += Seconds(scannedAt - start);
        filterSeconds += Seconds(filteredAt - scannedAt) / double(kQuery.size());
        state.SetIterationTime(Seconds(filteredAt - scannedAt));
    }
    if (found == 0 || found > scanned) {
        state.SkipWithError("the filter found no item, or more than hold \"march\"");
        return;
    }
    const double n = double(state.iterations());
    state.counters["scan_ms"] = scanSeconds / n * 1e3;
    state.counters["keystroke_ms"] = filterSeconds / n * 1e3;
    state.counters["ratio"] = filterSeconds / scanSeconds;
    std::printf("pane filter: scan %.3f ms, keystroke %.3f ms, ratio %.2f (%d items, %zu found)\n",
                scanSeconds / n * 1e3, filterSeconds / n * 1e3, filterSeconds / scanSeconds, items,
                found);
}
BENCHMARK(BM_PaneFilterPerKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
