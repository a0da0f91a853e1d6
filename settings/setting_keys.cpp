#include "settings/setting_keys.h"

namespace wlk::settings {

namespace {
constexpr IntSettingInfo kInfo[kIntSettingCount] = {
    {u"ShowHistoryPaneOnStart", 1, false},
    {u"Hotkey", 196621, false},
    {u"ExtHotkey", 0, false},
    {u"Hotkey_Doubled", 0, false},
    {u"Sorting", 1, false},
    {u"ClipboardHistory", 1, false},
    {u"ClipboardHistoryMax", 30, false},
    {u"InsertCHIntoMenu", 1, false},
    {u"AutoCheckForUpdates", 1, false},
    {u"DaysCheckForUpdates", 7, false},
    {u"SoundOnEventsV094", 1, false},
    {u"MenuToolTips_V0_94_A22", 1, false},
    {u"DelayAutoLoadSeconds_NextRelease", 30, false},
    {u"WriteLog", 0, true},
    {u"SaveClipboardHistory_v198", 1, false},
    {u"MaxHistoryItemsInMenu", 15, false},
    {u"AppendCHAsSubMenu_ForV140", 0, false},
    {u"TextPasteMethod_v150", 0, false},
    {u"GestureType", 0, false},
    {u"ClipboardSpyMethod_v2_22", -1, false},
    {u"InsertEncodeCommandIntoMenu", 0, false},  // the real default depends on the layouts
    {u"AddLastUsedMenuToBegin", 1, false},
    {u"AddLastUsedMenuToBegin_Count", 3, false},
    {u"ShowTrayBallonOnHotkey", 1, false},
    {u"PrintLTChars", 100, false},
    {u"ClipboardFormats0", 1, false},
    {u"ClipboardFormats1", 1, false},
    {u"ClipboardFormats2", 0, false},
    {u"ClipboardFormats3", 1, false},
    {u"ClipboardFormats4", 1, false},
    {u"ExtMenuCommand__EditSetting", 1, false},
    {u"ExtMenuCommand__SaveSelAsPhrase", 1, false},
    {u"ExtMenuCommand__SUPPORT", 1, false},
};
}  // namespace

const IntSettingInfo& Info(IntSetting setting) {
    return kInfo[static_cast<size_t>(setting)];
}

int Normalize(IntSetting setting, int value, int current) {
    switch (setting) {
        case IntSetting::DaysCheckForUpdates: return value == 0 ? 1 : value > 30 ? 30 : value;
        case IntSetting::AddLastUsedMenuToBeginCount: return value == 0 || value >= 6 ? 3 : value;
        case IntSetting::DelayAutoLoadSeconds: return value > 600 ? 600 : value;
        case IntSetting::MaxHistoryItemsInMenu: return value < 0 ? current : value;
        case IntSetting::TextPasteMethod: return value >= 0 && value <= 2 ? value : 0;
        case IntSetting::PrintLTChars: return value == 0 || value > 1000 ? 100 : value;
        case IntSetting::GestureType: return value == 0 || value == 1 ? value : 0;
        default: return value;
    }
}

}  // namespace wlk::settings
