// Saving and loading 1,000 text items in real files, each measured against
// writing or reading the same bytes as plain files in the same run. The
// counter "ratio" is the history's time divided by the plain files' time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/bench_files.h"
#include "bench/bench_options.h"
#include "history/ch_queue.h"
#include "history/history_store.h"
#include "history/item_files.h"
#include "platform/text.h"

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr int kItems = 1000;

Text ItemText(int i) {
    return u"Clipboard text number " + ToText(i) + u" with a line\r\nand a second one.";
}

std::unique_ptr<history::CCHItem> TextItem(int i) {
    auto item = std::make_unique<history::CCHItem>(history::CHT_TEXT_UNICODE);
    item->SetUnicodeText(ItemText(i));
    return item;
}

void Report(benchmark::State& state, const char* what, double history, double plain, int items) {
    const double n = double(state.iterations());
    state.counters["history_ms"] = history / n * 1e3;
    state.counters["plain_ms"] = plain / n * 1e3;
    state.counters["ratio"] = history / plain;
    std::printf("history %s: plain %.3f ms, history %.3f ms, ratio %.2f (%d items)\n", what,
                plain / n * 1e3, history / n * 1e3, history / plain, items);
}

// Names and bytes of every file in `folder`, and the same files written plainly.
using FileSet = std::vector<std::pair<Text, std::string>>;

FileSet FilesOf(const Text& folder) {
    FileSet files;
    for (const Text& name : bench::FileNames(folder))
        files.emplace_back(name, bench::ReadWhole(folder + name));
    return files;
}

bool WritePlain(const Text& folder, const FileSet& files) {
    for (const auto& [name, bytes] : files)
        if (!bench::WriteNew(folder + name, bytes)) return false;
    return true;
}

void BM_HistorySave(benchmark::State& state) {
    bench::ScratchFolder scratch(u"wlk-history-save-bench");
    const Text folder = scratch.Path() + u"ClipboardHistory\\";
    const Text plainFolder = scratch.Path() + u"Plain\\";
    if (!scratch.Ok() || !bench::MakeFolder(folder) || !bench::MakeFolder(plainFolder)) {
        state.SkipWithError("cannot make the folders");
        return;
    }
    const int items = bench::Scaled(kItems);
    history::CCHQueue queue(folder);
    for (int i = 0; i < items; ++i) {
        auto item = TextItem(i);
        queue.Add(item, items);
    }
    double history = 0, plain = 0;
    size_t files = 0;
    bool whole = true;
    for (auto _ : state) {
        state.PauseTiming();
        bench::RemoveTree(folder, false);
        bench::RemoveTree(plainFolder, false);
        auto copies = queue.CopyUnsaved();
        state.ResumeTiming();

        const auto start = Clock::now();
        history::NameAllocator names(folder);
        int saved = 0;
        for (auto& copy : copies) saved += history::SaveItem(folder, *copy, names);
        const auto end = Clock::now();

        state.PauseTiming();
        const FileSet same = FilesOf(folder);
        files = same.size();
        state.ResumeTiming();

        const auto plainStart = Clock::now();
        const bool written = WritePlain(plainFolder, same);
        const auto plainEnd = Clock::now();
        whole = whole && saved == items && written;
        history += Seconds(end - start);
        plain += Seconds(plainEnd - plainStart);
        state.SetIterationTime(Seconds(end - start));
    }
    if (!whole || files != size_t(2 * items)) {
        state.SkipWithError("not every item was saved, or its copy not written");
        return;
    }
    state.counters["files"] = double(files);
    Report(state, "save", history, plain, items);
}
BENCHMARK(BM_HistorySave)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_HistoryLoad(benchmark::State& state) {
    bench::ScratchFolder scratch(u"wlk-history-load-bench");
    const Text folder = scratch.Path();
    const int items = bench::Scaled(kItems);
    history::NameAllocator names(folder);
    int saved = 0;
    for (int i = 0; i < items && scratch.Ok(); ++i)
        saved += history::SaveItem(folder, *TextItem(i), names);
    if (saved != items) {
        state.SkipWithError("cannot save the items");
        return;
    }
    double history = 0, plain = 0;
    size_t loaded = 0, bytes = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto result = history::LoadFolder(folder);
        const auto end = Clock::now();
        loaded = result->Count();
        const auto plainStart = Clock::now();
        bytes = bench::ReadTree(folder);
        const auto plainEnd = Clock::now();
        history += Seconds(end - start);
        plain += Seconds(plainEnd - plainStart);
        state.SetIterationTime(Seconds(end - start));
    }
    if (loaded != size_t(items) || bytes == 0) {
        state.SkipWithError("not every item came back");
        return;
    }
    state.counters["files"] = double(bench::FileNames(folder).size());
    Report(state, "load", history, plain, items);
}
BENCHMARK(BM_HistoryLoad)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
