// The tray window's side of the update check: it starts automatic checks on
// their schedule and manual ones on demand, takes their results on the tray
// window's thread, and shows the update window.
#pragma once

#include <functional>
#include <memory>

#include "platform/sync.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"
#include "web/update_query.h"
#include "web/update_window_win32.h"

namespace wlk::web {

// What the tray window knows of the installation: the query's facts beyond
// the settings and the system.
using HotkeyTextSource = std::function<Text()>;

// The tray window's timer that waits out an automatic check's delay, so that
// no thread sits through the days between two checks.
inline constexpr UINT_PTR kTimerAutoCheck = 1250;

class CWLKUpdateService {
public:
    explicit CWLKUpdateService(settings::Settings& settings);

    void Attach(HWND tray, HINSTANCE instance, std::shared_ptr<platform::Event> stop,
                HotkeyTextSource hotkeyText);
    // Starts the automatic check after its delay, when automatic checks are on.
    void ScheduleAutoCheck();
    // kTimerAutoCheck fired: the delay is over, or one more part of a long one.
    void OnAutoCheckTimer();
    // The user asked: goes online first, asks when there is still no connection.
    void CheckNow();
    // The worker's message: a result it delivers, or the end of an automatic
    // check. Anything else another program sends is ignored.
    void OnWorkerMessage(WPARAM kind, LPARAM record);
    // Whether the system reports a connection to the Internet.
    static bool Connected();
    void CloseWindow() { window_.Close(); }

private:
    // False when no check could start (a refused server address).
    bool Start(bool automatic);
    void ArmAutoCheckTimer();
    void OnResult(const UpdateResult& result);
    void OnAutomaticCheckEnded();
    InstallationFacts Facts() const;
    UpdateWindowFacts WindowFacts(const UpdateResult& result);

    settings::Settings& settings_;
    HWND tray_ = nullptr;
    HINSTANCE instance_ = nullptr;
    std::shared_ptr<platform::Event> stop_;
    HotkeyTextSource hotkeyText_;
    uint64_t nextCheck_ = 0;
    bool autoCheckWaiting_ = false;
    uint64_t autoCheckLeftMs_ = 0;  // of the delay, beyond the armed timer
    CWLKUpdateWindow window_;
};

}  // namespace wlk::web
