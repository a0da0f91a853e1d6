// Saving and loading 1,000 text items, each measured against writing or
// reading the same bytes as plain files in the same run. The counter "ratio"
// is the history's time divided by the plain files' time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "history/ch_queue.h"
#include "history/history_store.h"
#include "history/item_files.h"
#include "platform/sim/sim_platform.h"
#include "platform/text.h"

namespace {

using namespace wlk;
using Clock = std::chrono::steady_clock;

constexpr int kItems = 1000;
const Text kFolder = u"C:\\Program Files\\Wordlark\\ClipboardHistory\\";
const Text kPlain = u"C:\\Program Files\\Wordlark\\Plain\\";

Text ItemText(int i) {
    return u"Clipboard text number " + ToText(i) + u" with a line\r\nand a second one.";
}

// The bytes a saved item leaves on disk: its data file and its info file.
struct PlainFiles {
    std::vector<std::pair<Text, std::string>> files;
};

PlainFiles SameBytes(const Text& folder) {
    PlainFiles plain;
    for (const auto& entry : platform::Current().files.List(folder, u"*"))
        plain.files.emplace_back(kPlain + entry.name,
                                 *platform::Current().files.ReadAll(folder + entry.name));
    return plain;
}

void Reset(platform::sim::SimPlatform& sim) {
    for (const Text& folder : {kFolder, kPlain}) {
        for (const auto& entry : sim.files.List(folder, u"*"))
            sim.files.DeleteFile(folder + entry.name);
    }
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_HistorySave(benchmark::State& state) {
    platform::sim::SimPlatform sim;
    sim.Install();
    sim.files.Put(sim.system.programPath, "MZ");
    history::EnsureFolder(kFolder);
    history::EnsureFolder(kPlain);
    history::CCHQueue queue(kFolder);
    for (int i = 0; i < kItems; ++i) {
        auto item = std::make_unique<history::CCHItem>(history::CHT_TEXT_UNICODE);
        item->SetUnicodeText(ItemText(i));
        queue.Add(item, kItems);
    }
    double history = 0, plain = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Reset(sim);
        auto copies = queue.CopyUnsaved();
        state.ResumeTiming();
        const auto start = Clock::now();
        history::NameAllocator names(kFolder);
        for (auto& copy : copies)
            benchmark::DoNotOptimize(history::SaveItem(kFolder, *copy, names));
        const auto saved = Clock::now();
        state.PauseTiming();
        const PlainFiles same = SameBytes(kFolder);
        state.ResumeTiming();
        const auto plainStart = Clock::now();
        for (const auto& [path, bytes] : same.files) {
            auto file = sim.files.CreateNew(path, platform::Security::Default);
            file->Write(bytes.data(), bytes.size());
        }
        const auto plainEnd = Clock::now();
        history += Seconds(saved - start);
        plain += Seconds(plainEnd - plainStart);
    }
    state.counters["ratio"] = history / plain;
    state.counters["items"] = kItems;
}
BENCHMARK(BM_HistorySave)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_HistoryLoad(benchmark::State& state) {
    platform::sim::SimPlatform sim;
    sim.Install();
    sim.files.Put(sim.system.programPath, "MZ");
    history::EnsureFolder(kFolder);
    history::CCHQueue queue(kFolder);
    for (int i = 0; i < kItems; ++i) {
        auto item = std::make_unique<history::CCHItem>(history::CHT_TEXT_UNICODE);
        item->SetUnicodeText(ItemText(i));
        history::SaveItem(kFolder, *item);
    }
    const auto names = sim.files.List(kFolder, u"*");
    double history = 0, plain = 0;
    size_t loaded = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto result = history::LoadFolder(kFolder);
        const auto end = Clock::now();
        loaded = result->Count();
        const auto plainStart = Clock::now();
        for (const auto& entry : sim.files.List(kFolder, u"*"))
            benchmark::DoNotOptimize(sim.files.ReadAll(kFolder + entry.name));
        const auto plainEnd = Clock::now();
        history += Seconds(end - start);
        plain += Seconds(plainEnd - plainStart);
    }
    if (loaded != size_t(kItems)) state.SkipWithError("not every item came back");
    state.counters["ratio"] = history / plain;
    state.counters["files"] = double(names.size());
}
BENCHMARK(BM_HistoryLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
