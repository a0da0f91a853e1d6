// Carrying out a choice of the phrase menu, whether the menu posted it or
// another process of the product sent it: nothing chosen and the special
// commands put the user's clipboard back, every other id is inserted.
#pragma once

#include <cstdint>
#include <functional>

#include "bridge/clipboard_snapshot.h"
#include "bridge/insert_command.h"
#include "bridge/item_actions.h"
#include "bridge/target_context.h"
#include "platform/types.h"

namespace wlk::app {

// The special ids of the phrase menu.
enum MenuCommand : int32_t {
    kMenuNothingChosen = -1,
    kMenuEditPhrases = -2,
    kMenuHistoryPane = -3,
    kMenuAddSelection = -4,
    kMenuSupport = -6,
};

// What the tray window does for the special ids.
struct SpecialCommands {
    std::function<void()> editPhrases;
    std::function<void()> showHistoryPane;
    std::function<void()> addSelection;
    std::function<void()> openSupport;
};

class CWLKMenuCommands {
public:
    CWLKMenuCommands(bridge::CWLKInserter& inserter, bridge::ClipboardSnapshot& snapshot,
                     SpecialCommands special)
        : inserter_(inserter), snapshot_(snapshot), special_(std::move(special)) {}

    // The menu is being called (before the target is asked, whose selection
    // may be fetched through the clipboard): what a cancel puts back, and the
    // text the clipboard macros give.
    void OnMenuCalled();
    // The clipboard's text read by the last OnMenuCalled.
    const Text& ClipboardAtCall() const { return clipboardAtCall_; }
    // `called` is the context the last menu call received (null when none).
    bridge::InsertResult Run(int32_t command, platform::WindowId target,
                             const bridge::TargetContext* called, bool honourLayoutMacros);

    // A right-click command on a menu item. A copy made that way is what a
    // cancelled menu then leaves on the clipboard.
    void RunItemCommand(int action, uint32_t commandId, const bridge::ItemSources& sources);

private:
    bool RunSpecial(int32_t command);
    bridge::InsertResult Insert(int32_t command, platform::WindowId target,
                                const bridge::TargetContext* called, bool honourLayoutMacros);

    bridge::CWLKInserter& inserter_;
    bridge::ClipboardSnapshot& snapshot_;
    SpecialCommands special_;
    Text clipboardAtCall_;
};

}  // namespace wlk::app
