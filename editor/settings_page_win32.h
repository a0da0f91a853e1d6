// The editor's settings page: the program's hotkey, text insertion, clipboard
// history, start with Windows, sounds, interface language and update check,
// written to the program's settings and applied by the running program at once.
#pragma once

#include <cstdint>

#include "platform/win32/windows_api.h"

namespace wlk::editor {

enum SettingsPageText : uint32_t {
    kTextSettingsTitle = 1620,
    kTextHotkeyGroup,
    kTextHotkeyLabel,
    kTextHotkeyTwice,
    kTextInsertGroup,
    kTextPasteMethod,
    kTextMethodType,
    kTextMethodPaste,
    kTextMethodByLength,
    kTextTypeThreshold,
    kTextHistoryGroup,
    kTextHistoryOn,
    kTextHistoryMax,
    kTextHistoryInMenu,
    kTextSaveHistory,
    kTextGeneralGroup,
    kTextStartWithWindows,
    kTextSounds,
    kTextLanguage,
    kTextCheckUpdates,
    kTextUpdateDays,
    kTextOk,
    kTextCancel,
    kTextSettingsNotSaved,
    kTextSettingsMenu,
};

// Shows the page as a modal dialog of `owner`. On OK writes what changed and
// tells the running program to apply it; true when the settings were saved.
// Cancel, or OK with nothing changed, writes nothing and gives false.
bool ShowSettingsPage(HWND owner);

}  // namespace wlk::editor
