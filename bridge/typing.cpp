#include "bridge/typing.h"

#include <span>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

using platform::KeyInput;
using platform::kKeyUnicode;
using platform::kKeyUp;

// Attempts that insert nothing before typing gives up: input stays blocked
// while another desktop or a higher-rights window has it.
constexpr int kBlockedAttempts = 3;
constexpr uint32_t kBlockedPauseMs = 50;

void PressAndRelease(std::vector<KeyInput>& inputs, KeyInput key) {
    inputs.push_back(key);
    key.flags |= kKeyUp;
    inputs.push_back(key);
}

// Control characters the target reads as keys, not as characters.
bool IsKeyCharacter(char16_t unit) {
    return unit == kVkTab || unit == kVkLineFeed || unit == kVkReturn;
}

// Sends the inputs in as few calls as the system allows.
bool SendAll(std::span<const KeyInput> inputs) {
    auto& p = platform::Current();
    auto& log = log::EventLog::Instance();
    const size_t total = inputs.size();
    for (int blocked = 0; !inputs.empty();) {
        const size_t sent = p.input.Send(inputs);
        if (sent >= inputs.size()) return true;
        inputs = inputs.subspan(sent);
        log.Write(Format(u"DoPrint: input was blocked, %d of %d key events left to send",
                         {ToText(int(inputs.size())), ToText(int(total))}));
        if (sent > 0) continue;
        if (++blocked == kBlockedAttempts) {
            log.WriteError(Format(u"DoPrint: input stays blocked, %d key events not sent",
                                  {ToText(int(inputs.size()))}));
            return false;
        }
        p.threads.Sleep(kBlockedPauseMs);
    }
    return true;
}

}  // namespace

std::vector<KeyInput> TypingInputs(const Text& text, uint32_t caretOffset) {
    auto& input = platform::Current().input;
    std::vector<KeyInput> inputs;
    inputs.reserve(text.size() * 2 + caretOffset * 2 + 1);
    for (char16_t unit : text) {
        if (IsKeyCharacter(unit))
            PressAndRelease(inputs, {unit, input.ScanCode(unit), 0});
        else
            PressAndRelease(inputs, {0, unit, kKeyUnicode});
    }
    if (caretOffset != 0) {
        // A Shift still down would select while the caret moves.
        inputs.push_back({kVkShift, 0, kKeyUp});
        for (uint32_t i = 0; i < caretOffset; ++i) PressAndRelease(inputs, {kVkLeft, 0, 0});
    }
    return inputs;
}

bool DoPrint(const Text& text, uint32_t caretOffset) {
    log::EventLog::Instance().Write(u"DoPrint: " + text);
    if (text.empty()) return false;
    // A Ctrl still held from the hotkey would turn the characters into shortcuts.
    const KeyInput releaseControl{platform::kVkControl, 0, kKeyUp};
    platform::Current().input.Send(std::span(&releaseControl, 1));
    return SendAll(TypingInputs(text, caretOffset));
}

}  // namespace wlk::bridge
