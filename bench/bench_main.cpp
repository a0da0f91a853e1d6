// The benchmarks' entry point: the real Win32 platform, the short mode, and an
// exit code that tells a broken benchmark (one that skipped with an error)
// from a good run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_options.h"
#include "platform/win32/win32_platform.h"

namespace {

bool shortMode = false;

// Takes "--short" out of the arguments, and asks for a single iteration in its place.
std::vector<char*> Arguments(int argc, char** argv) {
    static char oneIteration[] = "--benchmark_min_time=0";
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--short") == 0) {
            shortMode = true;
            args.push_back(oneIteration);
        } else {
            args.push_back(argv[i]);
        }
    }
    return args;
}

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

namespace wlk::bench {

int Scaled(int full) {
    return shortMode ? full / 10 : full;
}

}  // namespace wlk::bench

int main(int argc, char** argv) {
    wlk::platform::win32::InstallWin32Platform();
    std::vector<char*> args = Arguments(argc, argv);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;
    Reporter reporter;
    const size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return ran > 0 && !reporter.failed ? 0 : 1;
}
