// Reading the selected text of another program's window by making it copy
// the selection to the clipboard, when the hook component could not read it.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wlk::bridge {

// Sent to the tray window: it answers with its clipboard handler, or 0 when
// the clipboard history is off.
inline constexpr uint32_t WM_GET_CLIPBOARD_HANDLER = 0x800F;
inline constexpr uint32_t kWmCopy = 0x0301;
// How long a target may take to answer WM_COPY.
inline constexpr uint32_t kCopyMessageTimeoutMs = 1000;
// How long the target is given to put its selection on the clipboard.
inline constexpr uint32_t kCopyWaitMs = 400;

// The text `window` holds selected, by Ctrl+C and WM_COPY; empty when it
// copied nothing. The user's clipboard is held aside meanwhile and put back,
// and the tray window's clipboard history is told the change is the
// program's own.
Text ExtractSelectedText(platform::WindowId window, platform::WindowId trayWindow);

// The clipboard's text up to its first NUL: CF_UNICODETEXT, else CF_TEXT in
// the system's ANSI code page; empty when neither can be read. Each read
// opens the clipboard on its own.
Text ReadClipboardText();

}  // namespace wlk::bridge
