#include "editor/editor_settings.h"

#include <utility>

#include "log/event_log.h"
#include "settings/options_changed.h"

namespace wlk::editor {

namespace {

using settings::IntSetting;

// Where each of the page's values is kept among the integer settings.
template <typename T>
using Field = std::pair<IntSetting, T EditorSettings::*>;

constexpr Field<int> kNumbers[] = {
    {IntSetting::Hotkey, &EditorSettings::hotkey},
    {IntSetting::TextPasteMethod, &EditorSettings::pasteMethod},
    {IntSetting::PrintLTChars, &EditorSettings::typeThreshold},
    {IntSetting::ClipboardHistoryMax, &EditorSettings::historyMax},
    {IntSetting::MaxHistoryItemsInMenu, &EditorSettings::historyInMenu},
    {IntSetting::DaysCheckForUpdates, &EditorSettings::updateDays},
};

constexpr Field<bool> kFlags[] = {
    {IntSetting::HotkeyDoubled, &EditorSettings::hotkeyDoubled},
    {IntSetting::ClipboardHistory, &EditorSettings::historyOn},
    {IntSetting::SaveClipboardHistory, &EditorSettings::saveHistoryOnExit},
    {IntSetting::SoundOnEvents, &EditorSettings::sounds},
    {IntSetting::AutoCheckForUpdates, &EditorSettings::autoCheckUpdates},
};

void Fail(const Text& what) {
    log::EventLog::Instance().WriteError(u"Editor settings: " + what);
}

// The running program waits on its event; the editor opens it to set it.
bool SignalOptionsChanged() {
    auto& changed = settings::OptionsChangedEvent::Instance();
    if (!changed.Create()) return false;
    changed.Notify();
    return true;
}

}  // namespace

EditorSettings ReadEditorSettings(const settings::Settings& from) {
    EditorSettings values;
    for (const auto& [setting, number] : kNumbers) values.*number = from.Get(setting);
    for (const auto& [setting, flag] : kFlags) values.*flag = from.Get(setting) != 0;
    values.startWithWindows = from.IsStartWithWindows();
    values.language = from.Language();
    return values;
}

bool WriteEditorSettings(settings::Settings& to, const EditorSettings& values) {
    const EditorSettings before = ReadEditorSettings(to);
    for (const auto& [setting, number] : kNumbers) to.Set(setting, values.*number);
    for (const auto& [setting, flag] : kFlags) to.Set(setting, values.*flag ? 1 : 0);
    // The saved file holds the language too.
    if (values.language != before.language) to.WriteLanguage(values.language);
    bool written = to.Save();
    if (!written) Fail(u"cannot save " + to.GetSettingsPath());
    if (values.startWithWindows != before.startWithWindows &&
        !to.SetStartWithWindows(values.startWithWindows)) {
        Fail(u"cannot write the Run value");
        written = false;
    }
    if (!SignalOptionsChanged()) {
        Fail(u"cannot signal the options change");
        written = false;
    }
    return written;
}

}  // namespace wlk::editor
