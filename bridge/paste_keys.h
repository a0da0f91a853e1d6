// The key strokes that paste the clipboard into the focused window and then
// move the caret back into the pasted text.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::bridge {

inline constexpr uint16_t kVkInsert = 0x2D;
inline constexpr uint16_t kVkV = 0x56;

// A modifier held while a key is pressed.
struct PasteCombo {
    uint16_t modifier = 0;
    uint16_t key = 0;
    bool operator==(const PasteCombo&) const = default;
};

inline constexpr PasteCombo kCtrlV{0x11, kVkV};
inline constexpr PasteCombo kShiftInsert{0x10, kVkInsert};

// The paste keys of a target, by its focus window's class or its executable
// (a file name or a full path), both compared without case: Ctrl+V, except
// for terminals and editors where Ctrl+V means something else.
PasteCombo PasteKeysFor(const Text& windowClass, const Text& executable);

// The caret moves in bursts of this many Left presses, with a 1 ms pause
// after each burst's next press, so that a slow target keeps up.
uint32_t CaretBurst(uint32_t caretOffset);

// Releases Shift, Ctrl and Alt where they are down, presses the paste keys,
// waits 100 ms for the target to paste, then presses Left `caretOffset` times.
void PasteKeys(uint32_t caretOffset, PasteCombo combo = kCtrlV);

}  // namespace wlk::bridge
