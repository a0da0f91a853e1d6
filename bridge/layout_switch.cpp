#include "bridge/layout_switch.h"

#include <algorithm>

#include "log/event_log.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

using platform::KeyInput;

// The target's thread takes the switch keys in its own time.
constexpr uint32_t kOtherProcessSwitchMs = 200;
constexpr uint32_t kWmNull = 0;

SwitchKeys ReadSwitchKeys() {
    const auto keys = SwitchKeysOf(platform::Current().keyboard.LayoutToggleHotkey());
    auto& log = log::EventLog::Instance();
    if (!keys) {
        log.WriteError(u"Cannot detect keyboard layout switch method, Use: Alt+SHIFT");
        return kLeftAltShift;
    }
    if (*keys == kGraveAccent) log.Write(u"Warning: keyboard layout switch [VK_TILDA_YOU detected]");
    return *keys;
}

bool HasLayout(uint32_t threadId, uint32_t wanted) {
    const uint32_t now = platform::Current().targets.KeyboardLayout(threadId);
    return now == wanted || (now & 0xFFFF) == (wanted & 0xFFFF);
}

}  // namespace

std::optional<SwitchKeys> SwitchKeysOf(const platform::ToggleHotkey& hotkey) {
    using State = platform::ToggleHotkey::State;
    if (hotkey.state == State::Missing) return kLeftAltShift;
    if (hotkey.state == State::Unreadable) return std::nullopt;
    if (hotkey.value == u"1") return kLeftAltShift;
    if (hotkey.value == u"2") return kLeftCtrlShift;
    if (hotkey.value == u"4") return kGraveAccent;
    return std::nullopt;
}

std::vector<KeyInput> SwitchInputs(SwitchKeys keys) {
    const uint16_t scanCode = platform::Current().input.ScanCode(keys.key);
    return {{keys.modifier, 0, 0},
            {keys.key, scanCode, 0},
            {keys.key, scanCode, platform::kKeyUp},
            {keys.modifier, 0, platform::kKeyUp}};
}

std::optional<uint32_t> FindInstalledLayout(std::span<const uint32_t> layouts, uint16_t language) {
    auto it = std::find_if(layouts.begin(), layouts.end(),
                           [language](uint32_t layout) { return (layout & 0xFFFF) == language; });
    if (it == layouts.end()) return std::nullopt;
    return *it;
}

void SwitchKeyboardLayout(uint32_t wanted, uint32_t targetThread, platform::WindowId targetWindow,
                          int layoutCount) {
    auto& p = platform::Current();
    const std::vector<KeyInput> inputs = SwitchInputs(ReadSwitchKeys());
    if (layoutCount < 3) {
        p.input.Send(inputs);
        return;
    }
    const bool otherProcess = p.targets.OwnerOf(targetWindow).processId != p.keyboard.ProcessId();
    for (int attempt = 0; attempt < layoutCount; ++attempt) {
        p.input.Send(inputs);
        if (otherProcess) {
            p.threads.Sleep(kOtherProcessSwitchMs);
            // Wakes the target's loop so that it takes the keys.
            p.ui.PostMessage(targetWindow, kWmNull, 0, 0);
        }
        if (HasLayout(targetThread, wanted)) return;
    }
}

}  // namespace wlk::bridge
