// Loading the phrase library from real files against merely reading the same
// files, side by side in the same iterations, so that the ratio says what
// parsing, sorting and the tree cost on top of the file access.
//
// The folder holds 1,999 nodes: 40 groups (each with a descriptor) and 1,959
// phrases, so that the ids stay below 2000 as the menu's command ids require.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bench_clock.h"
#include "bench/bench_files.h"
#include "bench/bench_options.h"
#include "phrases/command_tree.h"
#include "platform/text.h"

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr int kGroups = 40;
constexpr int kPhrases = 1959;

std::string PhraseFile(int n) {
    const std::string number = std::to_string(n);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
           "<WLKCommand UsageCount=\"" +
           std::to_string(n % 17) +
           "\" DisabledIsNoHasSelection=\"0\" UseTitleOnly=\"0\" SortID=\"" +
           std::to_string((n * 7919) % 100) +
           "\" FlagsMenu=\"0\" DateUsage=\"2024|5|17|8|30|0\">\r\n"
           "    <MenuName>Reply " +
           number +
           " &amp; thanks</MenuName>\r\n"
           "    <DataType>TEXT</DataType>\r\n"
           "    <Cmd>Dear %CLIPBOARD%,&#x0D;&#x0A;&#x0D;&#x0A;thank you for your message of "
           "%DATE_LONG%. We &lt;really&gt; appreciate it and will answer within two working "
           "days.&#x0D;&#x0A;&#x0D;&#x0A;Kind regards,&#x0D;&#x0A;%CURSOR_POS%</Cmd>\r\n"
           "    <Hint>Standard reply number " +
           number + " for incoming mail</Hint>\r\n</WLKCommand>\r\n";
}

std::string GroupDescriptor(int g) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
           "<WLKCommand UsageCount=\"0\" DisabledIsNoHasSelection=\"0\" "
           "UseTitleOnly=\"0\" SortID=\"" +
           std::to_string(g % 5) + "\" FlagsMenu=\"0\" />\r\n";
}

// Writes the library into `folder`; false when a file could not be written.
bool WriteLibrary(const Text& folder, int groups, int phrases) {
    int phrase = 0;
    for (int g = 0; g < groups; ++g) {
        const Text group = folder + u"Group " + ToText(g) + u"\\";
        if (!bench::MakeFolder(group) ||
            !bench::WriteNew(group + u"FOLDER_SELF.wordlark", GroupDescriptor(g)))
            return false;
        const int inGroup = phrases / groups + (g < phrases % groups ? 1 : 0);
        for (int i = 0; i < inGroup; ++i, ++phrase) {
            if (!bench::WriteNew(group + u"Reply_" + ToText(phrase) + u".wordlark",
                                 PhraseFile(phrase)))
                return false;
        }
    }
    return true;
}

void BM_PhraseLoadVersusRead(benchmark::State& state) {
    const int groups = bench::Scaled(kGroups);
    const int phrases = bench::Scaled(kPhrases);
    bench::ScratchFolder scratch(u"wlk-phrase-bench");
    if (!scratch.Ok() || !WriteLibrary(scratch.Path(), groups, phrases)) {
        state.SkipWithError("cannot write the phrase library");
        return;
    }
    phrases::CWLKCommandTree tree;
    double readSeconds = 0;
    double loadSeconds = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        bytes = bench::ReadTree(scratch.Path());
        const auto read = Clock::now();
        tree.Load(scratch.Path());
        benchmark::DoNotOptimize(tree.Commands().data());
        const auto loaded = Clock::now();
        readSeconds += Seconds(read - start);
        loadSeconds += Seconds(loaded - read);
        state.SetIterationTime(Seconds(loaded - read));
    }
    int all = 0;
    int included = 0;
    tree.CountPhrases(all, included);
    if (all != groups + phrases || tree.NextId() > 2000 || bytes == 0) {
        state.SkipWithError("the folder did not load whole");
        return;
    }
    const double n = double(state.iterations());
    state.counters["read_ms"] = readSeconds / n * 1e3;
    state.counters["load_ms"] = loadSeconds / n * 1e3;
    state.counters["ratio"] = loadSeconds / readSeconds;
    state.counters["nodes"] = all;
    std::printf("phrase load: read %.3f ms, load %.3f ms, ratio %.2f (%d nodes, %zu bytes)\n",
                readSeconds / n * 1e3, loadSeconds / n * 1e3, loadSeconds / readSeconds, all,
                bytes);
}
BENCHMARK(BM_PhraseLoadVersusRead)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
