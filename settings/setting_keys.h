// The integer keys of section "Settings", in the order they are saved, with
// their defaults and the rules that keep their values sane.
#pragma once

#include <cstddef>

#include "platform/types.h"

namespace wlk::settings {

enum class IntSetting {
    ShowHistoryPaneOnStart,
    Hotkey,
    ExtHotkey,
    HotkeyDoubled,
    Sorting,
    ClipboardHistory,
    ClipboardHistoryMax,
    InsertCHIntoMenu,
    AutoCheckForUpdates,
    DaysCheckForUpdates,
    SoundOnEvents,
    MenuToolTips,
    DelayAutoLoadSeconds,
    WriteLog,
    SaveClipboardHistory,
    MaxHistoryItemsInMenu,
    AppendCHAsSubMenu,
    TextPasteMethod,
    GestureType,
    ClipboardSpyMethod,
    InsertEncodeCommandIntoMenu,
    AddLastUsedMenuToBegin,
    AddLastUsedMenuToBeginCount,
    ShowTrayBallonOnHotkey,
    PrintLTChars,
    ClipboardFormats0,
    ClipboardFormats1,
    ClipboardFormats2,
    ClipboardFormats3,
    ClipboardFormats4,
    // Saved after "FontForMenu".
    ExtMenuCommandEditSetting,
    ExtMenuCommandSaveSelAsPhrase,
    ExtMenuCommandSupport,
    Count
};

inline constexpr size_t kIntSettingCount = static_cast<size_t>(IntSetting::Count);

struct IntSettingInfo {
    const char16_t* key;
    int defaultValue;
    // Read from the write file alone, not from the program or user file.
    bool writeFileOnly;
};

const IntSettingInfo& Info(IntSetting setting);

// The value to keep when `value` is read or set while `current` is held.
int Normalize(IntSetting setting, int value, int current);

}  // namespace wlk::settings
