// What runs beside the tray window: the watchers of the named events other
// processes signal (on the one event thread), the tray icon's retries and the
// first run's "Start with Windows". Each ends when the instance event is set
// and reaches the window by messages only.
#pragma once

#include <memory>

#include "platform/sync.h"
#include "platform/types.h"

namespace wlk::app {

// The language, check-for-updates, editor-ended, command-check-for-updates,
// editor-request and show-menu watchers.
void StartTrayWatchers(const std::shared_ptr<platform::Event>& instanceEvent);
// Sends WM_APP + 1 until the window answers that the icon is there: every
// 2000 ms, at most 200 times.
void StartTrayIconThread(std::shared_ptr<platform::Event> instanceEvent, platform::WindowId tray);
// Turns "Start with Windows" on a second after the first start, unless the
// program runs from a portable drive.
void StartFirstRunThread(std::shared_ptr<platform::Event> instanceEvent);

}  // namespace wlk::app
