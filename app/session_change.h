// What a session change means for the clipboard watcher: the user arrived
// (+1), left (-1) or neither (0).
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::app {

// WM_WTSSESSION_CHANGE reasons.
inline constexpr uint32_t kWtsConsoleConnect = 1;
inline constexpr uint32_t kWtsConsoleDisconnect = 2;
inline constexpr uint32_t kWtsSessionLogon = 5;
inline constexpr uint32_t kWtsSessionLogoff = 6;
inline constexpr uint32_t kWtsSessionLock = 7;
inline constexpr uint32_t kWtsSessionUnlock = 8;

int SessionChangeDirection(uint32_t reason);
// The reason's name for the log ("WTS_SESSION_LOCK"), or its number.
Text SessionChangeName(uint32_t reason);
// Logs the change as the tray window reports it; its direction.
int LogSessionChange(uint32_t reason, int64_t sessionId);

}  // namespace wlk::app
