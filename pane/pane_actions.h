// What the history pane's commands do to the history, the clipboard and the
// shell. The pane's window decodes the command and the rows, calls one of
// these and then shows the outcome (a refreshed list, a beep, a count).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "history/clipboard_history.h"
#include "pane/pane_commands.h"
#include "pane/text_transforms.h"
#include "platform/types.h"

namespace wlk::pane {

struct PaneServices {
    history::ClipboardHistory& history;
    RtfEditor& rtf;
    platform::WindowId owner;        // of the boxes that report a failure
    std::function<void(int)> sound;  // an event sound by its number
};

// What the window does after a command.
struct CommandOutcome {
    bool handled = false;   // the command is one of these
    bool done = false;      // it did something; a copy that did not beeps
    bool refresh = false;   // the rows changed
    bool reselect = false;  // select `itemId` again once the list has settled
    uint32_t itemId = 0;
    // Trim and Join report how many characters went or lines were joined in
    // a box that closes itself; `countText` is its string number.
    bool showCount = false;
    uint32_t countText = 0;
    size_t count = 0;
};

// Runs an item command of the pane on `selection`: the copies, the shell
// commands, the searches, Protect, Delete, Clear, Undo, Clear Undo Pool and the
// text transforms. Commands of the window itself (Save, Collapse, Fix, Close,
// the tray's commands) come back unhandled.
CommandOutcome RunPaneCommand(uint32_t command, const PaneSelection& selection,
                              const PaneServices& services);

// Copies the item at `position` with all its formats, as the program's own
// write; an item whose data is HTML alone is not copied. False, logged, when
// nothing reached the clipboard.
bool CopyItem(history::ClipboardHistory& history, size_t position);

// The text a web search of the focused row looks up; empty when none.
Text SearchText(const history::CCHQueue& queue, const PaneSelection& selection);

}  // namespace wlk::pane
