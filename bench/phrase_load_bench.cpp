// Loading the phrase library against merely reading its files, measured side by
// side in the same iterations, so that the ratio says what parsing, sorting and
// the tree cost on top of the file access.
//
// The folder holds 1,999 nodes: 40 groups (each with a descriptor) and 1,959
// phrases, so that the ids stay below 2000 as the menu's command ids require.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "phrases/command_tree.h"
#include "platform/sim/sim_platform.h"
#include "platform/text.h"

namespace {

using namespace wlk;
using Clock = std::chrono::steady_clock;

constexpr int kGroups = 40;
constexpr int kPhrases = 1959;
const Text kFolder = u"C:\\Bench\\UserPhrases";

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

platform::sim::SimPlatform& Folder() {
    static platform::sim::SimPlatform* sim = [] {
        auto* p = new platform::sim::SimPlatform;  // for the whole run
        p->Install();
        int phrase = 0;
        for (int g = 0; g < kGroups; ++g) {
            const Text group = kFolder + u"\\Group " + ToText(g);
            p->files.Put(group + u"\\FOLDER_SELF.wordlark",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
                         "<WLKCommand UsageCount=\"0\" DisabledIsNoHasSelection=\"0\" "
                         "UseTitleOnly=\"0\" SortID=\"" +
                             std::to_string(g % 5) + "\" FlagsMenu=\"0\" />\r\n");
            const int inGroup = kPhrases / kGroups + (g < kPhrases % kGroups ? 1 : 0);
            for (int i = 0; i < inGroup; ++i, ++phrase) {
                p->files.Put(group + u"\\Reply_" + ToText(phrase) + u".wordlark",
                             PhraseFile(phrase));
            }
        }
        return p;
    }();
    return *sim;
}

// The baseline: the same walk over the same folders, every file read whole.
size_t ReadAllFiles(const Text& folder) {
    auto& files = platform::Current().files;
    size_t bytes = 0;
    for (const auto& entry : files.List(folder, u"*")) {
        const Text path = folder + u"\\" + entry.name;
        if (entry.directory) {
            bytes += ReadAllFiles(path);
        } else if (auto content = files.ReadAll(path)) {
            bytes += content->size();
        }
    }
    return bytes;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_PhraseLoadVersusRead(benchmark::State& state) {
    Folder();
    phrases::CWLKCommandTree tree;
    double readSeconds = 0;
    double loadSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(ReadAllFiles(kFolder));
        const auto read = Clock::now();
        tree.Load(kFolder);
        benchmark::DoNotOptimize(tree.Commands().data());
        const auto loaded = Clock::now();
        readSeconds += Seconds(read - start);
        loadSeconds += Seconds(loaded - read);
        state.SetIterationTime(Seconds(loaded - read));
    }
    int all = 0;
    int included = 0;
    tree.CountPhrases(all, included);
    if (all != kGroups + kPhrases || tree.NextId() > 2000) {
        state.SkipWithError("the folder did not load whole");
        return;
    }
    const double n = double(state.iterations());
    state.counters["read_ms"] = readSeconds / n * 1e3;
    state.counters["load_ms"] = loadSeconds / n * 1e3;
    state.counters["ratio"] = loadSeconds / readSeconds;
    state.counters["nodes"] = all;
    std::printf("phrase load: read %.3f ms, load %.3f ms, ratio %.2f (%d nodes)\n",
                readSeconds / n * 1e3, loadSeconds / n * 1e3, loadSeconds / readSeconds, all);
}
BENCHMARK(BM_PhraseLoadVersusRead)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
