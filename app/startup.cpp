#include "app/startup.h"

#include <utility>
#include <vector>

#include "app/app_globals.h"
#include "app/event_watcher.h"
#include "app/instance_control.h"
#include "history/own_copy.h"
#include "language/language_switch.h"
#include "log/event_log.h"
#include "log/log_line.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/options_changed.h"
#include "settings/registry_entries.h"

namespace wlk::app {

namespace {

constexpr uint32_t kAdminHandOverWaitMs = 10000;
constexpr size_t kErrorTextMaxChars = 1024;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

Text LocalDateTime() {
    auto now = platform::Current().system.Now();
    return log::ShortDate(now) + u" " + log::ShortTime(now);
}

// Returns an exit code when a waiting logon start was released, else nothing.
std::optional<int> SettleAutomode(const CommandLineOptions& options,
                                  const settings::Settings& settings) {
    auto& p = platform::Current();
    if (!options.autoload()) {
        if (SignalNamedEvent(kAutomodeEventName)) {
            Log().Write(u"Signal for automode. Exit");
            return kExitAutomodeReleased;
        }
        Log().Write(u"Automode not found. Continue");
        return std::nullopt;
    }
    int seconds = settings.Get(settings::IntSetting::DelayAutoLoadSeconds);
    if (seconds <= 0) return std::nullopt;
    auto automode =
        p.sync.CreateEvent(kAutomodeEventName, false, false, platform::Security::Everyone);
    if (!automode) return std::nullopt;
    Log().Write(u"Starting waiting for automode...");
    platform::Event* events[] = {automode.get()};
    uint32_t result = p.sync.WaitAny(events, uint32_t(seconds) * 1000);
    automode.reset();
    if (result == platform::kWaitObject0)
        Log().Write(u"INFO: automode disabled WAIT_OBJECT_0");
    else if (result == platform::kWaitTimeout)
        Log().Write(u"INFO: automode expired WAIT_TIMEOUT");
    else
        Log().Write(Format(u"INFO: automode default %d", {ToText(int(result))}));
    return std::nullopt;
}

// Asks the running instance to end and waits until it has handed over.
void WaitForHandOver() {
    auto& p = platform::Current();
    SignalNamedEvent(kExitEventName);
    auto handOver = p.sync.OpenEvent(kAdminHandOverEventName, platform::EventAccess::Synchronize);
    uint32_t error = p.sync.LastError();
    if (handOver) {
        platform::Event* events[] = {handOver.get()};
        uint32_t result = p.sync.WaitAny(events, kAdminHandOverWaitMs);
        if (result != platform::kWaitTimeout) return;
        error = 0;
    }
    Log().WriteError(u"Cannot wait event from first instance\n\nError Code: " + ToText(error) +
                     u"\n" + p.system.SystemErrorText(error, kErrorTextMaxChars));
}

// Hands this start's request to the running instance.
void SignalRunningInstance(const CommandLineOptions& options) {
    if (options.showmenu())
        SignalNamedEvent(kShowMenuEventName);
    else if (options.exit())
        SignalNamedEvent(kExitEventName);
    else if (options.cfu())
        PulseNamedEvent(kCheckForUpdatesEventName);
    else
        SignalNamedEvent(kAlreadyWorkEventName);
}

// A later start's request: set to ask the tray window to end (wParam 1) or to
// tell it of another start (wParam 0).
struct RequestEvent {
    std::shared_ptr<platform::Event> event;
    uintptr_t wParam;
};

// The request events exist before the instance event does: a start that finds
// the instance must also find where to hand its request.
std::vector<RequestEvent> CreateRequestEvents() {
    auto& sync = platform::Current().sync;
    const std::pair<const char16_t*, uintptr_t> named[] = {{kExitEventName, 1},
                                                           {kAlreadyWorkEventName, 0}};
    std::vector<RequestEvent> requests;
    for (const auto& [name, wParam] : named)
        requests.push_back(
            {sync.CreateEvent(name, true, false, platform::Security::Everyone), wParam});
    return requests;
}

void StartInstanceWatchers(const std::shared_ptr<platform::Event>& instanceEvent,
                           std::vector<RequestEvent> requests) {
    for (RequestEvent& request : requests)
        StartEventWatcher(instanceEvent,
                          {std::move(request.event), InstanceMessage(), request.wParam});
}

// The watcher threads share the instance event's handle; it closes when the
// last of them has seen it set and ended. Only then may an elevated start
// that waits for us find no running instance.
void ReleaseWhenWatchersEnded(std::shared_ptr<platform::Event> instanceEvent) {
    constexpr int kMaxWaitMs = 2000;
    auto& threads = platform::Current().threads;
    for (int waited = 0; instanceEvent.use_count() > 1 && waited < kMaxWaitMs; ++waited)
        threads.Sleep(1);
}

// Steps from the instance event to the end of the message loop.
int RunInstance(const CommandLineOptions& options, StartupHost& host) {
    auto& p = platform::Current();
    auto requests = CreateRequestEvents();
    std::shared_ptr<platform::Event> instanceEvent =
        p.sync.CreateEvent(kInstanceEventName, true, false, platform::Security::Everyone);
    if (!instanceEvent) return kExitNoInstanceEvent;
    instanceEvent->ProtectFromClose(true);
    Globals().instanceEvent = instanceEvent;
    history::SetProcessStopEvent(instanceEvent);
    StartInstanceWatchers(instanceEvent, std::move(requests));
    Globals().commandLine = options.Raw();

    Text version = p.system.ProgramVersion();
    Log().SetSourceTag(u"TEMP PREFIX TEXT");
    Log().WriteWithTime(Format(u"\n\n=============================\n===Start Wordlark %s on %s===",
                               {version, p.system.OsDescription()}));
    Log().ClearSourceTag();

    host.InitializeRuntime();
    settings::OptionsChangedEvent::Instance().Create();
    host.InitializeModule();
    int code = host.RunMain(*instanceEvent, options.noinstall(), options);

    settings::OptionsChangedEvent::Instance().Close();
    instanceEvent->Set();
    instanceEvent->ProtectFromClose(false);
    Globals().instanceEvent.reset();
    history::SetProcessStopEvent(nullptr);
    ReleaseWhenWatchersEnded(std::move(instanceEvent));
    if (auto handOver = std::move(Globals().adminHandOver)) handOver->Set();

    Log().Write(u"===End Word Lark=== " + LocalDateTime());
    host.TerminateRuntime();
    return code;
}

int StartAndRun(const Text& commandLine, settings::Settings& settings, StartupHost& host) {
    auto& p = platform::Current();
    if (settings.Get(settings::IntSetting::WriteLog)) Log().Open(Log().LogPath());
    CommandLineOptions options(commandLine);
    options.Parse();
    Log().Write(Format(u"Start Wordlark %s with cmdline [%s] on %s",
                       {p.system.ProgramVersion(), commandLine, p.system.OsDescription()}));
    if (options.ua()) settings::SetStartWithWindows(false);

    if (auto code = SettleAutomode(options, settings)) return *code;

    language::LoadStartupLanguage(settings);
    bool handled = options.edit() && SignalNamedEvent(kEditorRequestEventName);
    if (options.help()) {
        p.ui.MessageBox(platform::MessageOwner::Desktop, KeyHelpText(), u"Wordlark",
                        platform::MessageIcon::Information, false);
        handled = true;
    }
    if (handled) return kExitHandedOver;

    if (options.asadmin()) WaitForHandOver();
    if (options.ua()) settings::SetStartWithWindows(false);

    if (InstanceExists()) {
        SignalRunningInstance(options);
        return kExitOtherInstance;
    }
    if (options.exit()) return kExitOtherInstance;
    return RunInstance(options, host);
}

}  // namespace

int RunStartup(const Text& commandLine, settings::Settings& settings, StartupHost& host) {
    // A writer may wait up to 5 s for another process to free the log.
    constexpr uint32_t kLastLinesWaitMs = 6000;
    int code = StartAndRun(commandLine, settings, host);
    Log().WaitForWriters(kLastLinesWaitMs);
    return code;
}

}  // namespace wlk::app
