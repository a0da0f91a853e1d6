// What "Enable Menu Of Phrases" turns on and off together: the query exchange
// with its waiting thread, the global hotkey and the hook component.
#pragma once

#include <vector>

#include "bridge/dll_service.h"
#include "bridge/query_service.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"

namespace wlk::app {

class CWLKMenuServices {
public:
    explicit CWLKMenuServices(settings::Settings& settings);

    // Installs them for `tray` in their order; a failure removes what was
    // installed, sets `errorText` and, for the hook, adds it to `notes`.
    // Without the query exchange, every press takes the direct road.
    bool Install(HWND tray, bool providesAnswers, Text& errorText, std::vector<Text>& notes);
    void Uninstall();
    bool IsInstalled() const { return hook_.IsInstalled(); }
    // The query thread ended with an error: it is started again.
    void OnQueryFailed();
    // The hotkey's name, " [x2]" added when it must be pressed twice.
    Text HotkeyName() const;

    bridge::CWLKDLLService& Hook() { return hook_; }
    bridge::QueryService& Queries() { return queries_; }

private:
    bool RegisterHotkey();
    void UnregisterHotkey();
    bool InstallHook(bool writeLog, bool providesAnswers, Text& errorText);

    settings::Settings& settings_;
    bridge::CWLKDLLService hook_;
    bridge::QueryService queries_;
    HWND tray_ = nullptr;
    bool hotkeyRegistered_ = false;
};

}  // namespace wlk::app
