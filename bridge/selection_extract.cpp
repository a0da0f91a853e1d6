#include "bridge/selection_extract.h"

#include <array>
#include <mutex>
#include <string_view>

#include "bridge/clipboard_snapshot.h"
#include "history/own_copy.h"
#include "platform/clipboard.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

// Texts of any size the target copied are taken whole.
constexpr size_t kAnyTextBytes = size_t(-1);

// Empties the clipboard, so that whatever it holds after the copy came
// from the target.
bool EmptyClipboard(platform::Clipboard& clipboard) {
    if (!clipboard.Open(0)) return false;
    const bool emptied = clipboard.Empty();
    clipboard.Close();
    return emptied;
}

// Ctrl+C as plain key strokes: virtual keys with their scan codes, flags 0
// on the presses and KEYEVENTF_KEYUP on the releases. This is what a real
// keyboard produces, so every target's accelerator handling sees Ctrl+C.
// KEYEVENTF_UNICODE is meant for typing characters (the scan code field then
// holds a UTF-16 unit, and the virtual key must be 0); a target receives such
// an event as VK_PACKET, which copies nothing.
void SendCtrlC(platform::Input& input) {
    const uint16_t ctrl = input.ScanCode(platform::kVkControl);
    const uint16_t c = input.ScanCode(platform::kVkC);
    const std::array<platform::KeyInput, 4> keys{{
        {platform::kVkControl, ctrl, 0},
        {platform::kVkC, c, 0},
        {platform::kVkC, c, platform::kKeyUp},
        {platform::kVkControl, ctrl, platform::kKeyUp},
    }};
    input.Send(keys);
}

// The text before the first NUL of a block.
Text UnicodeText(const platform::ClipboardBlock& block) {
    Text text;
    for (size_t i = 0; i + 1 < block.bytes.size(); i += 2) {
        const char16_t unit = char16_t(block.bytes[i] | (block.bytes[i + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

std::string_view AnsiText(const platform::ClipboardBlock& block) {
    const std::string_view all(reinterpret_cast<const char*>(block.bytes.data()),
                               block.bytes.size());
    return all.substr(0, all.find('\0'));
}

}  // namespace

Text ReadClipboardText() {
    auto& clipboard = platform::Current().clipboard;
    Text text;
    if (clipboard.IsFormatAvailable(platform::kCfUnicodeText) && clipboard.Open(0)) {
        if (auto block = clipboard.GetData(platform::kCfUnicodeText, kAnyTextBytes))
            text = UnicodeText(*block);
        clipboard.Close();
    }
    if (text.empty() && clipboard.IsFormatAvailable(platform::kCfText) && clipboard.Open(0)) {
        if (auto block = clipboard.GetData(platform::kCfText, kAnyTextBytes))
            text = clipboard.AnsiToText(AnsiText(*block), 0);
        clipboard.Close();
    }
    return text;
}

Text ExtractSelectedText(platform::WindowId window, platform::WindowId trayWindow) {
    // A late query's copy on the query thread and the direct one on the main
    // thread may meet: one after the other, each saves the user's content and
    // not the other's empty clipboard.
    static std::mutex oneAtATime;
    const std::lock_guard lock(oneAtATime);
    auto& p = platform::Current();
    ClipboardSnapshot snapshot;
    // What could not be saved must not be emptied away.
    if (!snapshot.Take()) return Text();
    // Emptying the clipboard and the target's copy are the program's own
    // changes, which the history must not record.
    if (p.ui.SendMessage(trayWindow, WM_GET_CLIPBOARD_HANDLER, 0, 0) != 0)
        history::BlockOwnCopyAsync();
    // Without an empty clipboard the user's own text could pass for the
    // selection; the clipboard then still holds it, so nothing is put back.
    if (!EmptyClipboard(p.clipboard)) return Text();

    SendCtrlC(p.input);
    // A second way, for targets that copy on the message; a hung target
    // must not hold the caller.
    p.ui.SendMessageTimeout(window, kWmCopy, 0, 0, kCopyMessageTimeoutMs);
    p.threads.Sleep(kCopyWaitMs);

    Text text = ReadClipboardText();
    snapshot.PutBack();
    return text;
}

}  // namespace wlk::bridge
