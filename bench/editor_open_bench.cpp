// Opening the phrase editor on a library of 1,999 phrases in 40 groups: its
// window made, the library read, the tree filled and painted, against the
// program's own load of the same folder in the same run. The counter "ratio"
// is the editor's price over reading the library at all; "groups_ms" is what
// opening every group afterwards costs, as a group's phrases are read then.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/bench_clock.h"
#include "bench/bench_files.h"
#include "bench/bench_options.h"
#include "editor/editor_window_win32.h"
#include "phrases/command_tree.h"
#include "platform/text.h"

#include <commctrl.h>

namespace {

using namespace wlk;
using namespace wlk::bench;

constexpr int kPhrases = 1999;
constexpr int kGroups = 40;

std::string PhraseFile(int n) {
    const std::string name = "Phrase " + std::to_string(n);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
           "<WLKCommand UsageCount=\"0\" SortID=\"" +
           std::to_string(n) + "\">\r\n    <MenuName>" + name + "</MenuName>\r\n    <Cmd>" + name +
           " text, %DATE%</Cmd>\r\n</WLKCommand>\r\n";
}

bool WriteLibrary(const Text& folder, int phrases) {
    bool ok = true;
    for (int g = 0; g < kGroups; ++g) ok = ok && bench::MakeFolder(folder + u"group" + ToText(g));
    for (int p = 0; p < phrases && ok; ++p) {
        const Text path =
            folder + u"group" + ToText(p % kGroups) + u"\\phrase" + ToText(p) + u".wordlark";
        ok = bench::WriteNew(path, PhraseFile(p));
    }
    return ok;
}

// A group's phrases are read when it is first opened.
void OpenEveryGroup(HWND tree, HTREEITEM item) {
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        TreeView_Expand(tree, item, TVE_EXPAND);
        OpenEveryGroup(tree, TreeView_GetChild(tree, item));
    }
}

struct OpenTimes {
    double open = 0;    // the window on the screen with the library's tree
    double groups = 0;  // then every group opened
};

OpenTimes OpenSeconds(const Text& folder) {
    const auto start = Clock::now();
    editor::EditorWindow window;
    if (!window.Create(GetModuleHandleW(nullptr), folder)) return {};
    window.Apply(editor::EditorOptions{});
    PumpMessages();
    const auto opened = Clock::now();
    HWND tree = FindWindowExW(window.Window(), nullptr, L"SysTreeView32", nullptr);
    OpenEveryGroup(tree, TreeView_GetRoot(tree));
    PumpMessages();
    const OpenTimes times{Seconds(opened - start), Seconds(Clock::now() - opened)};
    DestroyWindow(window.Window());
    PumpMessages();
    return times;
}

double LoadSeconds(const Text& folder) {
    const auto start = Clock::now();
    phrases::CWLKCommandTree tree;
    tree.Load(folder);
    return Seconds(Clock::now() - start);
}

void BM_EditorOpen(benchmark::State& state) {
    bench::ScratchFolder folder(u"wlk_editor_open_bench");
    if (!folder.Ok() || !WriteLibrary(folder.Path(), bench::Scaled(kPhrases))) {
        state.SkipWithError("the library could not be written");
        return;
    }
    // The first reading of a folder fills the system's caches: not counted.
    LoadSeconds(folder.Path());
    OpenSeconds(folder.Path());
    double openSeconds = 0, groupSeconds = 0, loadSeconds = 0;
    for (auto _ : state) {
        loadSeconds += LoadSeconds(folder.Path());
        const OpenTimes times = OpenSeconds(folder.Path());
        openSeconds += times.open;
        groupSeconds += times.groups;
        state.SetIterationTime(times.open);
    }
    const double n = double(state.iterations());
    state.counters["open_ms"] = openSeconds / n * 1e3;
    state.counters["groups_ms"] = groupSeconds / n * 1e3;
    state.counters["load_ms"] = loadSeconds / n * 1e3;
    state.counters["ratio"] = openSeconds / loadSeconds;
    std::printf(
        "editor open: %d phrases in %d groups %.1f ms (every group opened after: %.1f ms), "
        "program's load %.1f ms, ratio %.2f\n",
        bench::Scaled(kPhrases), kGroups, openSeconds / n * 1e3, groupSeconds / n * 1e3,
        loadSeconds / n * 1e3, openSeconds / loadSeconds);
}
BENCHMARK(BM_EditorOpen)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
