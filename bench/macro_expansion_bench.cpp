// Expanding a 1,000-character phrase body, without macros and with 20 of
// them, against merely copying the same body, side by side in the same
// iterations, with the real locale functions behind the dates and names.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/bench_clock.h"
#include "phrases/macro_expansion.h"

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr size_t kBodyChars = 1000;
constexpr uint32_t kLcidEnglish = 0x0409;

// Twenty macros of every sort: dates and names from the locale functions,
// selection and clipboard texts, the URL helpers, case, numbers in words and
// the caret.
constexpr char16_t kTwentyMacros[] =
    u"%DATE% %TIME% %DAY2%.%MONTHNUMBER2%.%YEAR2% %MONTHNAME% %WEEKDAYNAME% %DATETIME_EX_WD% "
    u"%SELECTED_TEXT% %UPPER_SELTEXT% %LOWER_SELTEXT% %CLIPBOARD_TEXT% %URL_FROM_CLIPBOARD% "
    u"%URL_FROM_SELECTED_TEXT% %TEXT_AFTER_URL% %NUMBERCHARS_SELTEXT% %MONTHNAME_ABBR% "
    u"%WEEKDAYNAME_ABBR% %DAY% %YEAR% %CURSOR_POS%";

// Twenty macros whose values need no call into the system: what the
// expansion itself costs.
constexpr char16_t kTwentyTextMacros[] =
    u"%SELECTED_TEXT% %CLIPBOARD_TEXT% %URL_FROM_CLIPBOARD% %URL_FROM_SELECTED_TEXT% "
    u"%TEXT_AFTER_URL% %NUMBERCHARS_SELTEXT% %NUMBERCHARS_CLIPBOARD% %SELECTED_TEXT% "
    u"%CLIPBOARD_TEXT% %TEXT_AFTER_URL% %URL_FROM_CLIPBOARD% %NUMBERCHARS_SELTEXT% "
    u"%SELECTED_TEXT% %URL_FROM_SELECTED_TEXT% %CLIPBOARD_TEXT% %NUMBERCHARS_CLIPBOARD% "
    u"%TEXT_AFTER_URL% %SELECTED_TEXT% %CLIPBOARD_TEXT% %CURSOR_POS%";

Text Body(const Text& macros) {
    Text body = macros;
    const Text filler = u"Dear customer, thank you for your letter. ";
    while (body.size() < kBodyChars) body += filler;
    body.resize(kBodyChars);
    return body;
}

void ExpandVersusCopy(benchmark::State& state, const Text& body, const char* name) {
    const Text selected = u"http://example.org/order/15 roses for Anna";
    const Text clipboard = u"https://example.com/ticket/4711 please check";
    double copySeconds = 0;
    double expandSeconds = 0;
    int replaced = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        Text copy = body;
        benchmark::DoNotOptimize(copy.data());
        const auto copied = Clock::now();
        Text text = body;
        int caret = 0;
        replaced = phrases::ExpandMacros(text, selected, clipboard, &caret, nullptr, kLcidEnglish);
        benchmark::DoNotOptimize(text.data());
        const auto expanded = Clock::now();
        copySeconds += Seconds(copied - start);
        expandSeconds += Seconds(expanded - copied);
        state.SetIterationTime(Seconds(expanded - copied));
    }
    const double n = double(state.iterations());
    state.counters["replaced"] = replaced;
    state.counters["ratio"] = expandSeconds / copySeconds;
    std::printf("%s: copy %.4f ms, ExpandMacros %.4f ms, ratio %.1f (%d replacements)\n", name,
                copySeconds / n * 1e3, expandSeconds / n * 1e3, expandSeconds / copySeconds,
                replaced);
}

void BM_ExpandWithoutMacros(benchmark::State& state) {
    ExpandVersusCopy(state, Body(Text()), "expansion without macros");
}

void BM_ExpandTwentyMacros(benchmark::State& state) {
    ExpandVersusCopy(state, Body(kTwentyMacros), "expansion of 20 macros");
}

void BM_ExpandTwentyTextMacros(benchmark::State& state) {
    ExpandVersusCopy(state, Body(kTwentyTextMacros), "expansion of 20 text macros");
}

BENCHMARK(BM_ExpandWithoutMacros)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExpandTwentyMacros)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExpandTwentyTextMacros)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
