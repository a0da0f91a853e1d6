// The clock the benchmarks time their runs with, and the message pump of the
// ones that show windows.
#pragma once

#include <chrono>

namespace wlk::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Dispatches every message waiting in this thread's queue (bench_files.cpp).
void PumpMessages();

}  // namespace wlk::bench
