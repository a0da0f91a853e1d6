#include "app/menu_services_win32.h"

#include "app/app_globals.h"
#include "app/hotkey.h"
#include "bridge/install_report.h"
#include "bridge/interchange.h"
#include "bridge/selection_extract.h"
#include "hook/install_params.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::app {

namespace {

log::EventLog& Log() {
    return log::EventLog::Instance();
}

// The simulated copy that reads a target's selection, on the main thread or
// the query thread.
Text CopySelection(platform::WindowId target) {
    return bridge::ExtractSelectedText(target, Globals().trayWindow);
}

// The log follows "WriteLog" each time the services start.
void FollowWriteLog(bool writeLog) {
    if (writeLog) {
        Log().Close();
        Log().Open(Log().LogPath());
    } else if (Log().IsOpen()) {
        Log().Close();
    }
}

}  // namespace

CWLKMenuServices::CWLKMenuServices(settings::Settings& settings)
    : settings_(settings),
      hook_(platform::Current().ui.RegisterMessage(hook::kQueryRequestMessageName), CopySelection) {
}

bool CWLKMenuServices::Install(HWND tray, bool providesAnswers, Text& errorText,
                               std::vector<Text>& notes) {
    tray_ = tray;
    const bool writeLog = settings_.Get(settings::IntSetting::WriteLog) != 0;
    FollowWriteLog(writeLog);
    // Without the exchange the hotkey still works, by the direct road; the
    // hook is still needed for the window the user works in.
    const bool exchange = queries_.Open();
    if (!exchange) Log().Write(u"Every press of the hotkey is served without the hook's query");
    if (!RegisterHotkey()) {
        Log().WriteError(u"Cannot register hot key");
        Uninstall();
        errorText = u"ERROR: Cannot register hot key " + HotkeyName();
        return false;
    }
    if (!InstallHook(writeLog, providesAnswers, errorText)) {
        Uninstall();
        notes.push_back(errorText);
        return false;
    }
    hook_.ServeDirectly(!exchange);
    if (exchange && !queries_.StartWaiting(platform::WindowId(tray_), CopySelection)) {
        errorText = u"ERROR: Cannot start wait thread for query";
        Uninstall();
        return false;
    }
    return true;
}

bool CWLKMenuServices::InstallHook(bool writeLog, bool providesAnswers, Text& errorText) {
    uint32_t code = 0;
    if (hook_.InstallDLLService_IML_32(platform::WindowId(tray_), bridge::kQueryEventName,
                                       bridge::kAnswerEventName, bridge::kInterchangeAreaName,
                                       writeLog, code, providesAnswers))
        return true;
    const Text path = bridge::CWLKDLLService::LibraryPath();
    errorText = bridge::InstallErrorReport(
        path, platform::Current().files.Kind(path) == platform::PathKind::File, code);
    return false;
}

void CWLKMenuServices::Uninstall() {
    UnregisterHotkey();
    hook_.Uninstall();
    queries_.Close();
}

void CWLKMenuServices::OnQueryFailed() {
    Log().WriteError(
        u"Reveived message WM_WAIT_QUERY_COMPLETE_ERROR, wait of query complete with error");
    queries_.Restart();
}

Text CWLKMenuServices::HotkeyName() const {
    return HotkeyText(HotkeyFromSetting(settings_.Get(settings::IntSetting::Hotkey)),
                      settings_.Get(settings::IntSetting::HotkeyDoubled) != 0);
}

bool CWLKMenuServices::RegisterHotkey() {
    const Hotkey hotkey = HotkeyFromSetting(settings_.Get(settings::IntSetting::Hotkey));
    if (!RegisterHotKey(tray_, kHotkeyId, hotkey.modifiers, hotkey.key)) {
        Log().WriteError(Format(u"Cannot register hotkey. Error: %d", {ToText(GetLastError())}));
        return false;
    }
    hotkeyRegistered_ = true;
    settings_.PublishHotkey(int(hotkey.key), int(hotkey.modifiers),
                            settings_.Get(settings::IntSetting::HotkeyDoubled) != 0, Text());
    return true;
}

void CWLKMenuServices::UnregisterHotkey() {
    if (hotkeyRegistered_) UnregisterHotKey(tray_, kHotkeyId);
    hotkeyRegistered_ = false;
}

}  // namespace wlk::app
