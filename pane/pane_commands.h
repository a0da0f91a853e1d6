// The history pane's commands: their ids, when each is enabled or checked for
// the rows the user has focused and selected, and the ones that change the
// history's items as a whole (Protect, Delete).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "history/ch_queue.h"
#include "platform/types.h"

namespace wlk::pane {

enum PaneCommand : uint32_t {
    kCmdCopy = 32793,
    kCmdOpenAsUrl = 32806,
    kCmdCopyAsPlainText = 32797,
    kCmdCopyAsRtf = 32849,
    kCmdCopyAsHtml = 32851,
    kCmdEdit = 32828,
    kCmdOpenWith = 32846,
    kCmdCopySourceUrl = 32847,
    kCmdOpenSourceUrl = 32848,
    kCmdEmptyClipboard = 32813,
    kCmdSearchGoogle = 32840,
    kCmdSearchYandex = 32841,
    kCmdSearchWikipedia = 32842,
    kCmdSearchMsdn = 32843,
    kCmdProtect = 32794,
    kCmdDelete = 32796,
    kCmdClear = 32789,
    kCmdUndo = 32838,
    kCmdClearUndoPool = 32854,
    kCmdSave = 32795,
    kCmdRun = 32821,
    kCmdUppercase = 32799,
    kCmdLowercase = 32805,
    kCmdTrim = 32812,
    kCmdJoin = 32822,
    kCmdCollapse = 32798,
    kCmdFix = 32820,
    kCmdKeep = 32786,
    kCmdTrayPhraseMenu = 32772,
    kCmdClose = 57665,
};

// The rows the command works on, as positions from the newest item (0).
struct PaneSelection {
    std::optional<size_t> focused;
    std::vector<size_t> selected;  // in list order
};

// What the enabling rules need beyond the rows.
struct PaneFacts {
    bool searchTextEmpty = true;  // the text a web search would look up
    bool collapsed = false;
    bool fixed = false;
    bool keep = false;  // the clipboard watcher runs
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// Enabled and checked for `command` (one of PaneCommand); a command that is
// not the pane's is enabled and not checked.
CommandState StateOf(uint32_t command, const history::CCHQueue& queue,
                     const PaneSelection& selection, const PaneFacts& facts);

// Undo's menu text: `base` followed by " [" count "]".
Text UndoMenuText(const Text& base, size_t undoCount);

// Protect: the new flag is the opposite of the focused item's, set on every
// selected item. False when there is no focused item.
bool ProtectSelection(history::CCHQueue& queue, const PaneSelection& selection);

// The selected positions Delete removes: the unprotected ones, in list order.
std::vector<int> DeletablePositions(const history::CCHQueue& queue, const PaneSelection& selection);

}  // namespace wlk::pane
