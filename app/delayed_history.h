// The delayed start of the clipboard history: when the handler could not be
// made at start-up, a thread asks the tray window to try again every two
// seconds, until it works, 200 tries have failed, or the instance ends.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::app {

inline constexpr uint32_t kDelayedHistoryPeriodMs = 2000;
inline constexpr int kDelayedHistoryTries = 200;

// Logs "Start Delayed ClipboardHistory" and starts the thread, which sends
// WM_APP + 10 to `tray` (the answer: whether the history now runs) and ends
// on success, after the last try, or when `stopEvent` is set.
bool StartDelayedHistory(std::shared_ptr<platform::Event> stopEvent, platform::WindowId tray);

}  // namespace wlk::app
