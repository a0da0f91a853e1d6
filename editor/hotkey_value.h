// The phrase-menu hotkey as the settings page's hotkey control holds it, and
// back as the program's "Hotkey" setting. The control keeps the virtual key in
// its low byte and its own modifier flags (Shift 1, Ctrl 2, Alt 4, extended
// key 8) in its high byte; the setting keeps the key in its low word and the
// RegisterHotKey flags (Alt 1, Ctrl 2, Shift 4, Win 8) in its high word.
#pragma once

#include <cstdint>

namespace wlk::editor {

// What the control shows for the setting: the hotkey the program actually
// registers (an empty setting is Ctrl+Alt+Enter), without Win, which the
// control cannot show, and with the extended-key flag for the keys beside the
// letters that share their codes with the number pad, so that the control
// names them "Left" rather than "Num 4".
uint16_t ControlHotkeyFromSetting(int setting);

// The setting for the control's value. `previous` when the control is empty
// or still shows what `previous` shows, so that a Win modifier the user did
// not touch survives; a key without modifiers gets Ctrl+Alt, as the program
// would register it.
int SettingFromControlHotkey(uint16_t control, int previous);

}  // namespace wlk::editor
