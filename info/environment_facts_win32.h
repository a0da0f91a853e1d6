// The environment report's facts as this running program and the system give them.
#pragma once

#include "info/environment_report.h"
#include "settings/settings.h"

namespace wlk::info {

// What only the tray window knows.
struct ProgramState {
    Text hookRoad;
    bool hookInstalled = false;
    int phraseCount = 0;
    int historyCount = 0;
};

EnvironmentFacts ReadEnvironmentFacts(const settings::Settings& settings,
                                      const ProgramState& state);

// The event log's file: the one open now, else where it would go.
Text EventLogPath();

}  // namespace wlk::info
