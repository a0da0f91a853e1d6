// Native-only tests reach the simulated platform's knobs through this.
#pragma once

#include "platform/sim/sim_platform.h"

namespace wlk::test {

// The simulated platform of the running test.
platform::sim::SimPlatform& Sim();

}  // namespace wlk::test
