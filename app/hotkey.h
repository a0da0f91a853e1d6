// The phrase-menu hotkey: its parts, its readable name and the double-press rule.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::app {

// RegisterHotKey modifier flags.
inline constexpr uint32_t kModAlt = 1;
inline constexpr uint32_t kModControl = 2;
inline constexpr uint32_t kModShift = 4;
inline constexpr uint32_t kModWin = 8;

// The id of the program's one global hotkey.
inline constexpr int kHotkeyId = 1;

struct Hotkey {
    uint32_t key = 13;
    uint32_t modifiers = kModAlt | kModControl;
};

// The "Hotkey" setting split into its virtual key (low 16 bits) and modifiers
// (high 16 bits); a key of 0 becomes Enter, and no modifiers become Ctrl+Alt.
Hotkey HotkeyFromSetting(int setting);

// "Ctrl+Alt+Enter", followed by " [x2]" when the hotkey must be pressed twice.
Text HotkeyText(const Hotkey& hotkey, bool doubled);

// With the double-press setting on, the hotkey acts only on a second press
// within 500 ms of the first.
class DoublePressRule {
public:
    // Whether the press at `tickMs` (GetTickCount) should act.
    bool Accept(bool doubled, uint32_t tickMs);

private:
    bool pending_ = false;
    uint32_t lastTick_ = 0;
};

}  // namespace wlk::app
