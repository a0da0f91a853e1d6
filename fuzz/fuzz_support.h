// What every harness needs: a check that stops the run, and one simulated
// platform installed for the whole run.
#pragma once

#include <cstdlib>

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

}  // namespace wlk::fuzz
