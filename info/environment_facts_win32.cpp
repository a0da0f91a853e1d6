#include "info/environment_facts_win32.h"

#include "bridge/dll_service.h"
#include "history/clipboard_spy.h"
#include "info/settings_excerpt.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/win32/win32_system.h"
#include "settings/program_location.h"
#include "web/system_facts_win32.h"

namespace wlk::info {

Text EventLogPath() {
    auto& log = log::EventLog::Instance();
    const Text open = log.OpenPath();
    return open.empty() ? log.LogPath() : open;
}

EnvironmentFacts ReadEnvironmentFacts(const settings::Settings& settings,
                                      const ProgramState& state) {
    EnvironmentFacts f;
    f.version = platform::Current().system.ProgramVersion();
    f.windowsVersion = web::ReadSystemFacts().winver;
    f.hookVersion = platform::win32::FileVersion(bridge::CWLKDLLService::LibraryPath());
    f.editorVersion =
        platform::win32::FileVersion(settings::ProgramFolder() + settings::kPhraseEditorFile);
    f.settingsPath = settings.GetSettingsPath();
    f.phrasesFolder = settings.GetPhrasesFolder();
    f.logPath = EventLogPath();
    f.hookRoad = state.hookRoad;
    f.hookInstalled = state.hookInstalled;
    f.clipboardMethod = history::CClipboardSpy::Instance().Method();
    f.phraseCount = state.phraseCount;
    f.historyCount = state.historyCount;
    f.lastErrors = log::EventLog::Instance().RecentErrors();
    if (auto bytes = platform::Current().files.ReadAll(f.settingsPath))
        f.settingsText = SettingsExcerpt(*bytes);
    return f;
}

}  // namespace wlk::info
