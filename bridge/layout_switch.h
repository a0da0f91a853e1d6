// Switching the target's keyboard layout by pressing the user's own
// layout-switch keys, since a program cannot set another thread's layout.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/input.h"
#include "platform/keyboard.h"
#include "platform/types.h"

namespace wlk::bridge {

// A modifier (0 for none) held while a key is pressed.
struct SwitchKeys {
    uint16_t modifier = 0;
    uint16_t key = 0;
    bool operator==(const SwitchKeys&) const = default;
};

inline constexpr SwitchKeys kLeftAltShift{0xA4, 0x10};
inline constexpr SwitchKeys kLeftCtrlShift{0xA2, 0x10};
inline constexpr SwitchKeys kGraveAccent{0, 0xC0};

// The keys the system's toggle setting names; nothing when it names none we
// can press ("3" switches by no key at all) or cannot be read.
std::optional<SwitchKeys> SwitchKeysOf(const platform::ToggleHotkey& hotkey);

// Modifier press, key press, key release, modifier release.
std::vector<platform::KeyInput> SwitchInputs(SwitchKeys keys);

// The first installed layout of the language (the low 16 bits of a layout).
std::optional<uint32_t> FindInstalledLayout(std::span<const uint32_t> layouts, uint16_t language);

// Presses the switch keys until the target thread's layout is `wanted` (or
// one of its language), at most once per installed layout. With fewer than
// three layouts one press reaches the other, and is not checked.
void SwitchKeyboardLayout(uint32_t wanted, uint32_t targetThread, platform::WindowId targetWindow,
                          int layoutCount);

}  // namespace wlk::bridge
