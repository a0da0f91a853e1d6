#include "bridge/dll_service.h"

#include "hook/install_params.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/program_location.h"

namespace wlk::bridge {

namespace {

// The exports, as the library declares them (the C calling convention; on
// x86-64 there is only one).
using InstallFunction = int (*)(hook::InstallParams*);
using UninstallFunction = int (*)();
using WindowFunction = platform::WindowId (*)();

// BroadcastSystemMessage flags: post, and let the receivers take the foreground.
constexpr uint32_t kBroadcastPostAllowForeground = 0x90;
constexpr uint32_t kWmNull = 0;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

uint64_t AddressOf(const Text& text) {
    return reinterpret_cast<uintptr_t>(text.c_str());
}

Text Number(long long value) {
    return ToText(value);
}

}  // namespace

CWLKDLLService::CWLKDLLService(uint32_t queryRequestMessage, SelectionReader readSelection)
    : queryRequestMessage_(queryRequestMessage), readSelection_(std::move(readSelection)) {}

CWLKDLLService::~CWLKDLLService() = default;

void CWLKDLLService::OnWindowEvent(uint32_t event, platform::WindowId window) {
    constexpr uint32_t kForegroundEvent = 3;
    constexpr uint32_t kFocusEvent = 0x8005;
    if (event == kForegroundEvent || event == kFocusEvent) fallbackWindow_ = window;
}

Text CWLKDLLService::LibraryPath() {
    return settings::ProgramFolder() + kHookLibraryName;
}

bool CWLKDLLService::InstallDLLService_IML_32(platform::WindowId trayWindow,
                                              const Text& queryEventName,
                                              const Text& answerEventName, const Text& areaName,
                                              bool writeLog, uint32_t& resultCode,
                                              bool answersExpected) {
    auto& p = platform::Current();
    if (IsInstalled()) {
        resultCode = hook::kInstallAlreadyInstalled;
        Log().WriteError(u"InstallDLLService_IML_32::DLL service already installed");
        return false;
    }
    const Text path = LibraryPath();
    library_ = p.libraries.Load(path);
    if (!library_) {
        resultCode = hook::kInstallCantLoad;
        Log().WriteError(u"Cannot load DLL by " + path);
        return false;
    }
    auto install = reinterpret_cast<InstallFunction>(library_->Procedure("LK_Install"));
    if (!install) {
        resultCode = hook::kInstallNoInstallExport;
        Log().WriteError(u"LK_Install not found");
        library_.reset();
        return false;
    }
    serviceEvent_ = p.sync.CreateEvent(Text(), true, false, platform::Security::Default);
    if (!serviceEvent_) {
        resultCode = hook::kInstallNoServiceEvent;
        Log().WriteError(u"Cannot create service event");
        library_.reset();
        return false;
    }
    queryEventName_ = queryEventName;
    answerEventName_ = answerEventName;
    areaName_ = areaName;
    // The log path only has to outlive the call: the library copies it.
    Text logPath;
    if (writeLog) logPath = Log().IsOpen() ? Log().OpenPath() : Log().LogPath();
    hook::InstallParams params;
    params.trayWindow = trayWindow;
    params.queryRequestMessage = queryRequestMessage_;
    params.queryEventName = AddressOf(queryEventName_);
    params.answerEventName = AddressOf(answerEventName_);
    params.areaName = AddressOf(areaName_);
    params.logPath = writeLog ? AddressOf(logPath) : 0;
    params.logAtom = writeLog ? Log().PathAtom() : 0;
    params.answersExpected = answersExpected ? 1 : 0;
    installed_ = install(&params);
    resultCode = params.resultCode;
    if (!installed_) library_.reset();
    return installed_ != 0;
}

bool CWLKDLLService::Uninstall() {
    if (!IsInstalled()) return false;
    auto uninstall = reinterpret_cast<UninstallFunction>(library_->Procedure("LK_Uninstall"));
    if (!uninstall || !uninstall()) return false;
    // Every hooked application runs its message loop once and lets the library go.
    platform::Current().ui.BroadcastSystemMessage(kBroadcastPostAllowForeground, kWmNull, 0, 0);
    installed_ = 0;
    if (serviceEvent_) serviceEvent_->Set();
    serviceEvent_.reset();
    library_.reset();
    return true;
}

platform::WindowId CWLKDLLService::CallWindowExport(const char* name) {
    if (!IsInstalled()) return 0;
    auto function = reinterpret_cast<WindowFunction>(library_->Procedure(name));
    return function ? function() : 0;
}

platform::WindowId CWLKDLLService::GetTargetWindow() {
    return CallWindowExport("LK_GetTargetWindow");
}

platform::WindowId CWLKDLLService::GetTargetWindowOther() {
    return CallWindowExport("LK_GetTargetWindowOther");
}

QueryResult CWLKDLLService::SendMessageToTargetWindow(uintptr_t wParam, TargetContext& context) {
    WriteDiagnostics(fallbackWindow_);
    const platform::WindowId target = lastTarget_ = GetTargetWindow();
    if (!target) {
        Log().WriteError(
            u"Cannot sendmessage to target window CWLKDLLService::SendMessageToTargetWindow");
        return QueryResult::NotSent;
    }
    const DirectRoad road = directOnly_ ? DirectRoad::NoInterchange : ChooseDirectRoad(target);
    Log().Write(RoadLogLine(road));
    if (road != DirectRoad::None) {
        FillContextDirectly(target, context);
        return QueryResult::ContextReady;
    }
    // The hook, inside the target's thread, gathers the facts and writes the query.
    const bool posted = platform::Current().ui.PostMessage(target, queryRequestMessage_, wParam, 0);
    Log().Write(Format(u"Sending message by PostMessage bRet=%d", {Number(posted ? 1 : 0)}));
    return posted ? QueryResult::Requested : QueryResult::NotSent;
}

void CWLKDLLService::FillContextDirectly(platform::WindowId target, TargetContext& context) const {
    FillTargetContextDirectly(target, readSelection_, context);
}

void CWLKDLLService::WriteDiagnostics(platform::WindowId window) {
    auto& p = platform::Current();
    const uint32_t processId = p.targets.OwnerOf(window).processId;
    if (lastDiagnosedProcess_ == processId) return;
    lastDiagnosedProcess_ = processId;
    const Text exe = p.targets.ProcessImagePath(processId);
    const std::optional<uint32_t> binaryType = p.targets.BinaryType(exe);
    const bool is64 = binaryType == platform::kBinaryType64Bit;
    const auto handle = static_cast<int32_t>(window);
    Log().Write(
        u"SendMessageToTargetWindow\r\n" +
        Format(u"HWND =%d IsWindow(hwnd)=%d", {Number(handle), Number(p.ui.IsWindow(window))}) +
        u"\r\n" + Format(u"classname=[%s]", {p.ui.ClassName(window)}) + u"\r\n" +
        Format(u"PID=%d", {Number(processId)}) + u"\r\n" + Format(u"exe=[%s]", {exe}) + u"\r\n" +
        Format(u"GetBinaryType=[%d], dwType", {Number(binaryType ? 1 : 0)}) + u"\r\n" +
        Format(u"b64=[%d], b32=[%d]", {Number(is64), Number(1)}));
}

Text CWLKDLLService::ImplementationText() const {
    return platform::Current().targets.ProgramRunsUnderWow64() ? u"Use x64 implementation Win7 like"
                                                               : u"Use x32 implementation XP like";
}

int CWLKDLLService::SetGestureMessage(uint32_t, platform::WindowId) {
    return 0;
}

bool CWLKDLLService::GetGesturePoint(int32_t&, int32_t&) const {
    return false;
}

}  // namespace wlk::bridge
