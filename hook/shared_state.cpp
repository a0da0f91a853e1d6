#include "hook/shared_state.h"

namespace wlk::hook {

namespace {

// The section is marked shared for the loader; the variable must be
// initialised, or the compiler would place it in uninitialised data instead.
__attribute__((section(".shared"), shared)) SharedState g_shared = {0, 0, 0, 0, 0, {0}, {0}, {0}};

}  // namespace

SharedState& Shared() {
    return g_shared;
}

}  // namespace wlk::hook
