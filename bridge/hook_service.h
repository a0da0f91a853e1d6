// The hook component's service as the tray window uses it: installed while
// the phrase menu is on, and asked for the facts about the target window when
// the hotkey is pressed.
//
// The hook component itself is not part of this build yet: Install() only
// marks the service as on and RequestTargetContext() answers that no target
// context is available, so the hotkey sequence ends after its sound.
#pragma once

#include "platform/types.h"

namespace wlk::bridge {

// Outcome of a request for the target context.
enum class QueryResult { NoAnswer = 0, Cancelled = 1, ContextReady = 2, Failed = 3 };

class CWLKDLLService {
public:
    bool Install(platform::WindowId window, bool writeLog, Text& errorText);
    void Uninstall();
    bool IsInstalled() const { return installed_; }
    QueryResult RequestTargetContext();

private:
    bool installed_ = false;
};

}  // namespace wlk::bridge
