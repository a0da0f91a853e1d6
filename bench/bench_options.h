// What the command line asked of the benchmarks beyond Google Benchmark's own flags.
#pragma once

namespace wlk::bench {

// `full`, or a tenth of it with "--short": that mode runs one iteration of
// each benchmark on a tenth of the data, enough to show that every benchmark
// still works; its figures mean nothing.
int Scaled(int full);

}  // namespace wlk::bench
