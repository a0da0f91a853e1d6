// Synthetic keyboard input: key strokes placed into the system's input stream
// as if the user typed them, for the program that has the keyboard focus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace wlk::platform {

// KEYBDINPUT's dwFlags, by their Windows values.
inline constexpr uint32_t kKeyExtended = 0x1;  // KEYEVENTF_EXTENDEDKEY
inline constexpr uint32_t kKeyUp = 0x2;        // KEYEVENTF_KEYUP
inline constexpr uint32_t kKeyUnicode = 0x4;   // KEYEVENTF_UNICODE: scanCode is a UTF-16 unit
inline constexpr uint32_t kKeyScanCode = 0x8;  // KEYEVENTF_SCANCODE

// Virtual keys the logic sends.
inline constexpr uint16_t kVkControl = 0x11;
inline constexpr uint16_t kVkC = 0x43;

// One keyboard event: a press, or a release when kKeyUp is among the flags.
struct KeyInput {
    uint16_t virtualKey = 0;
    uint16_t scanCode = 0;
    uint32_t flags = 0;

    bool operator==(const KeyInput&) const = default;
};

class Input {
public:
    virtual ~Input() = default;
    // SendInput of keyboard events, all in one call so that no other input
    // comes between them: how many were inserted (0 when input is blocked).
    virtual size_t Send(std::span<const KeyInput> keys) = 0;
    // MapVirtualKeyW(MAPVK_VK_TO_VSC) in the current layout; 0 when the key
    // has no scan code.
    virtual uint16_t ScanCode(uint16_t virtualKey) = 0;
};

}  // namespace wlk::platform
