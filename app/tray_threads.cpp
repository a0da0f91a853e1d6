#include "app/tray_threads.h"

#include "app/event_watcher.h"
#include "app/instance_control.h"
#include "app/phrase_editor.h"
#include "app/tray_commands.h"
#include "platform/platform.h"
#include "settings/program_location.h"
#include "settings/registry_entries.h"

namespace wlk::app {

namespace {

constexpr int kTrayIconTries = 200;
constexpr uint32_t kTrayIconRetryMs = 2000;
constexpr uint32_t kFirstRunDelayMs = 1000;

void Watch(const std::shared_ptr<platform::Event>& instanceEvent, const char16_t* name,
           bool manualReset, uint32_t message, uintptr_t wParam, bool post) {
    WatchedEvent watched;
    watched.event = platform::Current().sync.CreateEvent(name, manualReset, false,
                                                         platform::Security::Everyone);
    watched.message = message;
    watched.wParam = wParam;
    watched.post = post;
    StartEventWatcher(instanceEvent, std::move(watched));
}

}  // namespace

void StartTrayWatchers(const std::shared_ptr<platform::Event>& instance) {
    Watch(instance, u"Local\\Wordlark_LangUI_Changed", false, kMsgLanguageChanged, 0, false);
    // Checks are posted: a check may show a message box, and one thread
    // waits on all these events.
    Watch(instance, kCheckForUpdatesEventName, false, kWmCommand, kCmdCheckForUpdates, true);
    Watch(instance, kEditorEndedEventName, false, kMsgEditorEnded, 0, true);
    Watch(instance, u"Local\\Wordlark_CommandCheckForUpdates", true, kWmCommand,
          kCmdCheckForUpdates, true);
    Watch(instance, kEditorRequestEventName, true, kWmCommand, kCmdEditPhrases, true);
    Watch(instance, kShowMenuEventName, false, kMsgShowTrayMenu, 0, true);
}

void StartTrayIconThread(std::shared_ptr<platform::Event> instanceEvent, platform::WindowId tray) {
    auto& p = platform::Current();
    p.threads.Start([&p, tray, instance = std::move(instanceEvent)] {
        platform::Event* events[] = {instance.get()};
        for (int tries = 0; tries < kTrayIconTries; ++tries) {
            if (p.ui.SendMessage(tray, kMsgAddTrayIcon, 0, 0)) return;
            if (p.sync.WaitAny(events, kTrayIconRetryMs) != platform::kWaitTimeout) return;
        }
    });
}

void StartFirstRunThread(std::shared_ptr<platform::Event> instanceEvent) {
    if (settings::RunsFromPortableDrive()) return;
    auto& p = platform::Current();
    p.threads.Start([&p, instance = std::move(instanceEvent)] {
        platform::Event* events[] = {instance.get()};
        if (p.sync.WaitAny(events, kFirstRunDelayMs) == platform::kWaitTimeout)
            settings::SetStartWithWindows(true);
    });
}

}  // namespace wlk::app
