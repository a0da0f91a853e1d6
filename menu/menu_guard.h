// Running a step of the menu code so that a fault in it is reported and the
// program carries on. mingw-w64 has no structured exception handling, so the
// guard catches C++ exceptions and reports them under the code Windows gives
// a C++ exception.
#pragma once

#include <exception>

#include "log/event_log.h"
#include "platform/types.h"

namespace wlk::menu {

inline constexpr uint32_t kCppExceptionCode = 0xE06D7363;

// Runs `step`; false, with `context` reported, when it threw.
template <typename Step>
bool RunGuarded(const Text& context, Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        log::EventLog::Instance().ReportException(context, kCppExceptionCode);
        return false;
    }
}

}  // namespace wlk::menu
