// What every harness needs: a check that stops the run, one simulated platform
// installed for the whole run, and the fuzzer's entry point, which hands each
// input to the harness's FuzzOne (every harness is a program of one file).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sim/sim_platform.h"

namespace wlk::fuzz {

inline void Require(bool condition) {
    if (!condition) std::abort();
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
    return 0;
}
