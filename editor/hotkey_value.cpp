#include "editor/hotkey_value.h"

#include "app/hotkey.h"

namespace wlk::editor {

namespace {

// The control's modifier flags, as <commctrl.h> has them.
constexpr uint32_t kControlShift = 1;
constexpr uint32_t kControlCtrl = 2;
constexpr uint32_t kControlAlt = 4;
constexpr uint32_t kControlExtended = 8;

struct ModifierPair {
    uint32_t control;
    uint32_t setting;
};

constexpr ModifierPair kModifiers[] = {
    {kControlShift, app::kModShift},
    {kControlCtrl, app::kModControl},
    {kControlAlt, app::kModAlt},
};

// Page Up to Down, Insert, Delete and the number pad's slash.
bool IsExtendedKey(uint32_t key) {
    return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == 0x6F;
}

}  // namespace

uint16_t ControlHotkeyFromSetting(int setting) {
    const app::Hotkey hotkey = app::HotkeyFromSetting(setting);
    uint32_t flags = IsExtendedKey(hotkey.key) ? kControlExtended : 0;
    for (const auto& [control, stored] : kModifiers)
        if (hotkey.modifiers & stored) flags |= control;
    return uint16_t(((flags << 8) | (hotkey.key & 0xFF)) & 0xFFFF);
}

int SettingFromControlHotkey(uint16_t control, int previous) {
    const uint32_t key = control & 0xFFu;
    if (key == 0 || control == ControlHotkeyFromSetting(previous)) return previous;
    uint32_t modifiers = 0;
    for (const auto& [flag, stored] : kModifiers)
        if ((control >> 8) & flag) modifiers |= stored;
    if (modifiers == 0) modifiers = app::kModAlt | app::kModControl;
    return int((modifiers << 16) | key);
}

}  // namespace wlk::editor
