// The thread that waits for the hook component's queries (CWaitQuery) and
// handles each one, until the instance's stop signal.
#pragma once

#include <cstdint>
#include <memory>

#include "bridge/query_handling.h"
#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::bridge {

inline constexpr uint32_t kWmDataNeeded = 0x8003;
inline constexpr uint32_t kWmWaitQueryCompleteError = 0x8012;

struct WaitQueryParams {
    platform::WindowId trayWindow = 0;
    std::shared_ptr<platform::Event> stop;
    std::shared_ptr<platform::Event> queryEvent;
    std::shared_ptr<platform::Event> answerEvent;
    Text areaName;
    uint32_t dataNeededMessage = kWmDataNeeded;
    // Posted to the tray window when the wait fails for good; 0 posts nothing.
    uint32_t errorMessage = kWmWaitQueryCompleteError;
};

// Handles queries until the stop signal (result 0) or a wait failure that
// could not be revived (result 1, the error message posted).
uint32_t ThreadProc_WaitQuery(const WaitQueryParams& params, const QueryHandlingSteps& steps);

// Runs ThreadProc_WaitQuery on a thread of its own, which keeps its copy of
// the parameters; false (logged) when the thread cannot be started.
bool StartWaitThread(const WaitQueryParams& params, const QueryHandlingSteps& steps);

}  // namespace wlk::bridge
