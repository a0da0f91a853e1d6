// The benchmarks' entry point: the real Win32 platform, and an exit code that
// tells a broken benchmark (one that skipped with an error) from a good run.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/win32/win32_platform.h"

namespace {

class Reporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.error_occurred) failed = true;
        ConsoleReporter::ReportRuns(runs);
    }
    bool failed = false;
};

}  // namespace

int main(int argc, char** argv) {
    wlk::platform::win32::InstallWin32Platform();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    Reporter reporter;
    const size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return ran > 0 && !reporter.failed ? 0 : 1;
}
