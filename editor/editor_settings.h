// What the user changes on the editor's settings page. The values live in the
// program's own settings, so that the running program applies them as soon as
// it is told they changed, without a restart.
#pragma once

#include "platform/types.h"
#include "settings/settings.h"

namespace wlk::editor {

struct EditorSettings {
    int hotkey = 0;                  // "Hotkey": virtual key (low word) and modifiers (high word)
    bool hotkeyDoubled = false;      // "Hotkey_Doubled"
    int pasteMethod = 0;             // "TextPasteMethod_v150"
    int typeThreshold = 0;           // "PrintLTChars"
    bool historyOn = false;          // "ClipboardHistory"
    int historyMax = 0;              // "ClipboardHistoryMax"
    bool saveHistoryOnExit = false;  // "SaveClipboardHistory_v198"
    int historyInMenu = 0;           // "MaxHistoryItemsInMenu"
    bool sounds = false;             // "SoundOnEventsV094"
    bool autoCheckUpdates = false;   // "AutoCheckForUpdates"
    int updateDays = 0;              // "DaysCheckForUpdates"
    bool startWithWindows = false;   // the "Run" registry value
    Text language;                   // the language file's name, empty for English
    bool operator==(const EditorSettings&) const = default;
};

EditorSettings ReadEditorSettings(const settings::Settings& from);

// Sets each value (the settings keep each within its rules), saves the file,
// writes the language and the "Run" value when they changed, then signals the
// running program to read the settings again. False, with a log line naming
// what failed, when something could not be written or signalled.
bool WriteEditorSettings(settings::Settings& to, const EditorSettings& values);

}  // namespace wlk::editor
