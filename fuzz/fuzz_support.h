// What every harness needs: a check that stops the run, one simulated platform
// installed for the whole run, and the fuzzer's entry point, which hands each
// input to the harness's FuzzOne (every harness is a program of one file).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sim/sim_platform.h"

namespace wlk::fuzz {

// Names the check that failed: optimised, every failing check ends in the
// same abort, and the stack trace no longer tells them apart.
inline void Require(bool condition, const char* file = __builtin_FILE(),
                    int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s:%d\n", file, line);
    std::abort();
}

inline platform::sim::SimPlatform& Sim() {
    static platform::sim::SimPlatform* sim = [] {
        auto* made = new platform::sim::SimPlatform;  // never torn down: the run owns it
        made->Install();
        return made;
    }();
    return *sim;
}

void FuzzOne(const std::string& bytes);

}  // namespace wlk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    wlk::fuzz::FuzzOne(std::string(reinterpret_cast<const char*>(data), size));
    // Memory a run leaves allocated makes libFuzzer run the input again to look
    // for a leak, so the profile files kept for the run go with it.
    wlk::fuzz::Sim().profile.Forget();
    return 0;
}
