#include "web/update_service_win32.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "language/interface_strings.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/wide.h"
#include "web/system_facts_win32.h"
#include "web/update_download_win32.h"
#include "web/update_query.h"
#include "web/update_schedule.h"
#include "web/update_server.h"
#include "web/version_info.h"

namespace wlk::web {

namespace {

constexpr UINT kMsgUpdateResult = 0x8005;  // WM_APP + 5
constexpr WPARAM kResultDelivered = 0;
constexpr WPARAM kAutomaticCheckEnded = 1;
constexpr uint32_t kTextNoConnection = 257;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

// The records workers are delivering right now. Only these addresses are
// followed: any program can send the tray window this message, and a number
// it sends is never read as a record.
std::mutex deliveringMutex;
std::set<LPARAM> delivering;

void Deliver(HWND tray, const UpdateResult& result) {
    const LPARAM record = reinterpret_cast<LPARAM>(&result);
    {
        std::lock_guard lock(deliveringMutex);
        delivering.insert(record);
    }
    SendMessageW(tray, kMsgUpdateResult, kResultDelivered, record);
    std::lock_guard lock(deliveringMutex);
    delivering.erase(record);
}

bool IsDelivering(LPARAM record) {
    std::lock_guard lock(deliveringMutex);
    return delivering.count(record) != 0;
}

template <typename F>
F WininetFunction(const char* name) {
    HMODULE wininet = LoadLibraryW(L"wininet.dll");
    return wininet ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(wininet, name)))
                   : nullptr;
}

// Why the "UpdateServerURL" setting is refused, logged; empty when it is not.
Text ServerRefusal(const Text& server) {
    const UpdateUrl check = MakeUpdateUrl(server, Text());
    if (!check.url.empty()) return Text();
    Log().Write(check.refusal);
    return check.refusal;
}

void GoOnline() {
    using GoOnlineCall = BOOL(WINAPI*)(LPCWSTR, HWND, DWORD);
    if (const auto goOnline = WininetFunction<GoOnlineCall>("InternetGoOnlineW"))
        goOnline(nullptr, nullptr, 0);
}

void AddSystemFacts(InstallationFacts& facts) {
    const SystemFacts system = ReadSystemFacts();
    facts.winver = system.winver;
    facts.languages = system.languages;
    facts.country = system.country;
    facts.domain = system.domain;
    facts.ram = system.ram;
    facts.screen = system.screen;
    facts.mfc = system.mfc;
}

Text FileNameOf(const Text& path) {
    return path.substr(path.find_last_of(u"\\/") + 1);
}

}  // namespace

CWLKUpdateService::CWLKUpdateService(settings::Settings& settings)
    : settings_(settings),
      window_(UpdateWindowActions{
          [this](bool autoCheck, int days) {
              settings_.Set(settings::IntSetting::AutoCheckForUpdates, autoCheck ? 1 : 0);
              settings_.Set(settings::IntSetting::DaysCheckForUpdates, days);
              settings_.Save();
              settings_.NotifyOptionsChanged();
              if (autoCheck && !autoCheckWaiting_) ScheduleAutoCheck();
          },
          [this](const Text& version) {
              std::vector<int> skipped = settings_.ReadSkippedVersions();
              skipped.push_back(VersionNumber(SplitVersion(version)));
              settings_.WriteSkippedVersions(skipped);
          }}) {}

void CWLKUpdateService::Attach(HWND tray, HINSTANCE instance, std::shared_ptr<platform::Event> stop,
                               HotkeyTextSource hotkeyText) {
    tray_ = tray;
    instance_ = instance;
    stop_ = std::move(stop);
    hotkeyText_ = std::move(hotkeyText);
}

bool CWLKUpdateService::Connected() {
    using ConnectedCall = BOOL(WINAPI*)(LPDWORD, DWORD);
    static const auto connected = WininetFunction<ConnectedCall>("InternetGetConnectedState");
    DWORD flags = 0;
    return connected && connected(&flags, 0);
}

void CWLKUpdateService::ScheduleAutoCheck() {
    if (!settings_.Get(settings::IntSetting::AutoCheckForUpdates)) return;
    const AutoCheckDelay delay = ComputeAutoCheckDelay(
        settings_.ReadLastCheck(), settings_.Get(settings::IntSetting::DaysCheckForUpdates),
        platform::Current().system.NowAsFileTime());
    Log().Write(delay.waitLine);
    Log().Write(delay.nextLine);
    nextCheck_ = delay.nextCheck;
    if (!ServerRefusal(settings_.ReadUpdateServer()).empty()) return;
    autoCheckLeftMs_ = delay.ms;
    ArmAutoCheckTimer();
}

void CWLKUpdateService::ArmAutoCheckTimer() {
    // A timer waits at most USER_TIMER_MAXIMUM (24.8 days); a longer delay is
    // waited out in parts.
    const uint64_t part =
        std::clamp<uint64_t>(autoCheckLeftMs_, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    autoCheckLeftMs_ -= std::min(part, autoCheckLeftMs_);
    autoCheckWaiting_ = SetTimer(tray_, kTimerAutoCheck, UINT(part), nullptr) != 0;
}

void CWLKUpdateService::OnAutoCheckTimer() {
    KillTimer(tray_, kTimerAutoCheck);
    if (autoCheckLeftMs_ > 0)
        ArmAutoCheckTimer();
    else
        autoCheckWaiting_ = Start(true);
}

void CWLKUpdateService::CheckNow() {
    GoOnline();
    if (!Connected() &&
        MessageBoxW(tray_, platform::win32::AsWide(language::GetString(kTextNoConnection)),
                    L"Wordlark", MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    Start(false);
}

bool CWLKUpdateService::Start(bool automatic) {
    const Text server = settings_.ReadUpdateServer();
    if (const Text refusal = ServerRefusal(server); !refusal.empty()) {
        // The user who asked learns why nothing was asked.
        if (!automatic) {
            UpdateResult refused;
            refused.ownVersion = SplitVersion(platform::Current().system.ProgramVersion());
            refused.error = refusal;
            OnResult(refused);
        }
        return false;
    }
    UpdateRequest request;
    request.silent = automatic;
    request.automatic = automatic;
    request.testMarker = settings_.HasUpdateTestMarker();
    request.ownVersion = SplitVersion(platform::Current().system.ProgramVersion());
    HWND tray = tray_;
    return platform::Current().threads.Start(
        [request, facts = Facts(), server, tray, stop = stop_]() mutable {
            // The system's facts are read on this thread, off the program's start.
            AddSystemFacts(facts);
            request.url = MakeUpdateUrl(server, BuildUpdateQuery(facts)).url;
            const UpdateCheckSteps steps{
                Connected, [](const Text& address) { return DownloadVersionDocument(address); },
                [tray](const UpdateResult& result) { Deliver(tray, result); }};
            RunUpdateCheck(request, steps, *stop);
            platform::Event* events[] = {stop.get()};
            if (request.automatic &&
                platform::Current().sync.WaitAny(events, 0) == platform::kWaitTimeout)
                SendMessageW(tray, kMsgUpdateResult, kAutomaticCheckEnded, 0);
        });
}

void CWLKUpdateService::OnWorkerMessage(WPARAM kind, LPARAM record) {
    if (kind == kAutomaticCheckEnded) {
        OnAutomaticCheckEnded();
    } else if (kind == kResultDelivered && IsDelivering(record)) {
        OnResult(*reinterpret_cast<const UpdateResult*>(record));
    } else {
        Log().Write(Format(u"Update result ignored: not from an update check, lParam=%d",
                           {ToText(int64_t(record))}));
    }
}

void CWLKUpdateService::OnResult(const UpdateResult& result) {
    if (result.automatic && !settings_.Get(settings::IntSetting::AutoCheckForUpdates)) return;
    if (window_.IsOpen()) {
        window_.Show(instance_, WindowFacts(result));
        return;
    }
    const std::vector<int> skipped = settings_.ReadSkippedVersions();
    if (result.automatic && IsSkipped(result.webVersionText, skipped)) {
        Text list;
        for (size_t i = 0; i < skipped.size(); ++i) list += (i ? u"," : u"") + ToText(skipped[i]);
        Log().Write(u"Skip the verion on web site:" + list);
        return;
    }
    // An automatic check that found nothing new bothers nobody.
    if (result.automatic && result.webVersionText.empty()) return;
    window_.Show(instance_, WindowFacts(result));
}

void CWLKUpdateService::OnAutomaticCheckEnded() {
    autoCheckWaiting_ = false;
    settings_.WriteLastCheck(platform::Current().system.NowAsFileTime());
    ScheduleAutoCheck();
}

UpdateWindowFacts CWLKUpdateService::WindowFacts(const UpdateResult& result) {
    UpdateWindowFacts facts;
    facts.result = result;
    facts.lastCheck = settings_.ReadLastCheck();
    facts.nextCheck = nextCheck_;
    facts.autoCheck = settings_.Get(settings::IntSetting::AutoCheckForUpdates) != 0;
    facts.days = settings_.Get(settings::IntSetting::DaysCheckForUpdates);
    return facts;
}

// What the settings tell of the installation; the system's part comes later.
InstallationFacts CWLKUpdateService::Facts() const {
    using settings::IntSetting;
    InstallationFacts facts;
    facts.version = platform::Current().system.ProgramVersion();
    facts.sounds = settings_.Get(IntSetting::SoundOnEvents) != 0;
    facts.installed = settings_.IsFromInstaller();
    facts.hotkey = hotkeyText_ ? hotkeyText_() : Text();
    facts.hotkeyDoubled = settings_.Get(IntSetting::HotkeyDoubled) != 0;
    facts.autoCheck = settings_.Get(IntSetting::AutoCheckForUpdates) != 0;
    facts.days = settings_.Get(IntSetting::DaysCheckForUpdates);
    facts.langFile = FileNameOf(settings_.GetLanguageFilePath());
    facts.skippedVersions = settings_.ReadSkippedVersions();
    return facts;
}

}  // namespace wlk::web
