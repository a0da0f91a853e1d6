// Showing the history pane with 10,000 items: its window, toolbar, search
// field and list made and painted for the first time, against showing it over
// an empty history in the same run. The list is virtual, so the counter
// "ratio" (10,000 items over none) stays near 1 however long the history.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/bench_clock.h"
#include "bench/bench_options.h"
#include "history/clipboard_history.h"
#include "pane/float_pane_win32.h"
#include "platform/text.h"

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr int kItems = 10000;

// A history without a watcher: the pane shows its items all the same.
struct History {
    history::ClipboardHistory history{[](history::HistoryParts) { return nullptr; }};
    explicit History(int items) {
        for (int i = 0; i < items; ++i) {
            auto item = std::make_unique<history::CCHItem>(history::CHT_TEXT_UNICODE);
            item->SetUnicodeText(u"Copied text number " + ToText(i) + u", a line of it.");
            history.Items().Append(std::move(item));
        }
    }
};

// The time from asking for the pane to its first painting done.
double ShowSeconds(history::ClipboardHistory& history, settings::Settings& settings,
                   bridge::CWLKDLLService& hook) {
    pane::CWLKFloatPane pane(pane::FloatPaneParts{history, settings, hook, [](int) {}});
    const auto start = Clock::now();
    pane.Show(GetModuleHandleW(nullptr), nullptr, false);
    PumpMessages();
    const double seconds = Seconds(Clock::now() - start);
    pane.Destroy();
    PumpMessages();
    return seconds;
}

void BM_PaneShow(benchmark::State& state) {
    History full(bench::Scaled(kItems));
    History empty(0);
    settings::Settings settings;
    bridge::CWLKDLLService hook(0, [](platform::WindowId) { return Text(); });
    double fullSeconds = 0, emptySeconds = 0;
    for (auto _ : state) {
        emptySeconds += ShowSeconds(empty.history, settings, hook);
        const double seconds = ShowSeconds(full.history, settings, hook);
        fullSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double n = double(state.iterations());
    state.counters["show_ms"] = fullSeconds / n * 1e3;
    state.counters["empty_ms"] = emptySeconds / n * 1e3;
    state.counters["ratio"] = fullSeconds / emptySeconds;
    std::printf("pane show: %d items %.1f ms, empty %.1f ms, ratio %.2f\n", bench::Scaled(kItems),
                fullSeconds / n * 1e3, emptySeconds / n * 1e3, fullSeconds / emptySeconds);
}
BENCHMARK(BM_PaneShow)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
