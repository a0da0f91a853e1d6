// What every process that the hook is loaded into needs to know, kept in a
// data section that all copies of the library share. The addresses in the
// installation block are only valid in the program's own process, so the
// names are copied in here.
#pragma once

#include <cstdint>

namespace wlk::hook {

// Longest object name taken, terminator included, as the system limits them.
inline constexpr uint32_t kNameChars = 260;

struct SharedState {
    // 1 while a hook is installed; the other fields are valid only then.
    volatile long active;
    uint32_t installerProcess;
    uint64_t trayWindow;
    uint32_t requestMessage;
    uint32_t answersExpected;
    wchar_t queryEventName[kNameChars];
    wchar_t answerEventName[kNameChars];
    wchar_t areaName[kNameChars];
};

// The one instance, shared by every process that has the library loaded.
SharedState& Shared();

}  // namespace wlk::hook
