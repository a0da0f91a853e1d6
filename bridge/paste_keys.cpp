#include "bridge/paste_keys.h"

#include <algorithm>
#include <string_view>

#include "bridge/typing.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

using platform::KeyInput;

constexpr uint32_t kPasteSettleMs = 100;
constexpr uint32_t kBurstPauseMs = 1;

// Targets where Ctrl+V does not paste: consoles and terminals pass it on to
// the program inside (or take it as "insert the next character literally"),
// and Emacs scrolls with it. Each pastes with Shift+Insert.
struct PasteTarget {
    std::u16string_view windowClass;
    std::u16string_view executable;
};
constexpr PasteTarget kShiftInsertTargets[] = {
    {u"consolewindowclass", u"conhost.exe"},
    {u"putty", u"putty.exe"},
    {u"kitty", u"kitty.exe"},
    {u"mintty", u"mintty.exe"},
    {u"emacs", u"emacs.exe"},
    {u"emacs", u"runemacs.exe"},
};

std::u16string_view FileName(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

void Key(uint16_t virtualKey, uint32_t flags) {
    auto& p = platform::Current();
    // Insert is on the extended part of the keyboard; without the flag it
    // would be the keypad's 0 for a target that reads the key's position.
    if (virtualKey == kVkInsert) flags |= platform::kKeyExtended;
    p.keyboard.KeybdEvent(KeyInput{virtualKey, p.input.ScanCode(virtualKey), flags});
}

void ReleaseIfHeld(uint16_t virtualKey) {
    const uint16_t state = platform::Current().keyboard.KeyState(virtualKey);
    if (state & (platform::kKeyStateDown | platform::kKeyStateToggled))
        Key(virtualKey, platform::kKeyUp);
}

void MoveCaretLeft(uint32_t caretOffset) {
    auto& threads = platform::Current().threads;
    const uint32_t burst = CaretBurst(caretOffset);
    for (uint32_t press = 1; press <= caretOffset; ++press) {
        Key(kVkLeft, 0);
        if (press % (burst + 1) == 0) threads.Sleep(kBurstPauseMs);
        Key(kVkLeft, platform::kKeyUp);
    }
}

}  // namespace

PasteCombo PasteKeysFor(const Text& windowClass, const Text& executable) {
    const std::u16string_view exe = FileName(executable);
    const bool differs = std::any_of(std::begin(kShiftInsertTargets), std::end(kShiftInsertTargets),
                                     [&](const PasteTarget& t) {
                                         return EqualsIgnoreCase(t.windowClass, windowClass) ||
                                                EqualsIgnoreCase(t.executable, exe);
                                     });
    return differs ? kShiftInsert : kCtrlV;
}

uint32_t CaretBurst(uint32_t caretOffset) {
    if (caretOffset <= 3) return 1;
    if (caretOffset <= 10) return 2;
    if (caretOffset <= 100) return 4;
    return caretOffset / 100;
}

void PasteKeys(uint32_t caretOffset, PasteCombo combo) {
    ReleaseIfHeld(kVkShift);
    ReleaseIfHeld(platform::kVkControl);
    ReleaseIfHeld(kVkMenu);
    Key(combo.modifier, 0);
    Key(combo.key, 0);
    Key(combo.key, platform::kKeyUp);
    Key(combo.modifier, platform::kKeyUp);
    platform::Current().threads.Sleep(kPasteSettleMs);
    MoveCaretLeft(caretOffset);
}

}  // namespace wlk::bridge
