// Typing a text into the window that has the focus, as synthetic key strokes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/input.h"
#include "platform/types.h"

namespace wlk::bridge {

inline constexpr uint16_t kVkTab = 0x09;
inline constexpr uint16_t kVkLineFeed = 0x0A;  // no key of its own; sent as it is
inline constexpr uint16_t kVkReturn = 0x0D;
inline constexpr uint16_t kVkShift = 0x10;
inline constexpr uint16_t kVkMenu = 0x12;
inline constexpr uint16_t kVkLeft = 0x25;

// The key events that type `text` and then move the caret `caretOffset`
// characters to the left.
std::vector<platform::KeyInput> TypingInputs(const Text& text, uint32_t caretOffset);

// Releases a Ctrl still held from the hotkey, then types the text in one
// SendInput call. Events the system did not insert are sent again, so that
// none are lost. False for an empty text or input that stays blocked.
bool DoPrint(const Text& text, uint32_t caretOffset);

}  // namespace wlk::bridge
