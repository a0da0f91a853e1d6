// Reading a large query (a selection of about 100 KB) from the real
// interchange area into a target context, against merely copying the same
// text out of the area, side by side in the same iterations. The ratio says
// what parsing and the conversion to UTF-16 cost on top of the copy.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bench_clock.h"
#include "bench/bench_options.h"
#include "bridge/interchange.h"
#include "bridge/query_reader.h"
#include "platform/platform.h"

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr int kSelectionBytes = 100 * 1024;

// A query as the hook writes it, its selection mixed ASCII and Cyrillic.
std::string LargeQuery(int selectionBytes) {
    std::string selection;
    while (int(selection.size()) < selectionBytes)
        selection += "Reply to \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 &amp; co.\r\n";
    return "<LKQuery POINT_X=\"120\" POINT_Y=\"340\" HWND_Active=\"65552\" HWND_Focus=\"65560\">"
           "<AppPath>C:\\Windows\\system32\\notepad.exe</AppPath>"
           "<WindowClassName>Edit</WindowClassName><HWND>65560</HWND>"
           "<HKLLoword>1049</HKLLoword><HKLHoword>1049</HKLHoword>"
           "<SelText StateSelText=\"2\">" +
           selection + "</SelText></LKQuery>";
}

void BM_ReadQueryVersusCopy(benchmark::State& state) {
    bridge::Interchange interchange;
    if (!bridge::CreateInterchange(interchange) ||
        !interchange.area->WriteText(LargeQuery(bench::Scaled(kSelectionBytes)))) {
        state.SkipWithError("cannot fill the interchange area");
        return;
    }
    auto& shared = platform::Current().shared;
    double copySeconds = 0;
    double readSeconds = 0;
    bridge::TargetContext context;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto area = shared.Open(bridge::kInterchangeAreaName, bridge::kInterchangeAreaSize);
        auto text = area ? area->ReadText() : std::nullopt;
        benchmark::DoNotOptimize(text);
        const auto copied = Clock::now();
        context = bridge::TargetContext();
        const bool read = bridge::ReadQuery(bridge::kInterchangeAreaName, context);
        benchmark::DoNotOptimize(context.SelText.data());
        const auto parsed = Clock::now();
        if (!text || !read) {
            state.SkipWithError("the query could not be read");
            return;
        }
        copySeconds += Seconds(copied - start);
        readSeconds += Seconds(parsed - copied);
        state.SetIterationTime(Seconds(parsed - copied));
    }
    if (context.StateSelText != 2 || context.SelText.size() < size_t(bench::Scaled(kSelectionBytes)) / 2) {
        state.SkipWithError("the selection did not arrive whole");
        return;
    }
    const double n = double(state.iterations());
    state.counters["copy_ms"] = copySeconds / n * 1e3;
    state.counters["read_ms"] = readSeconds / n * 1e3;
    state.counters["ratio"] = readSeconds / copySeconds;
    std::printf("query read: copy %.3f ms, ReadQuery %.3f ms, ratio %.2f (%zu characters)\n",
                copySeconds / n * 1e3, readSeconds / n * 1e3, readSeconds / copySeconds,
                context.SelText.size());
}
BENCHMARK(BM_ReadQueryVersusCopy)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
