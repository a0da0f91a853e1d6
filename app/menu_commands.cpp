#include "app/menu_commands.h"

#include "app/insertion_context.h"
#include "bridge/selection_extract.h"
#include "history/own_copy.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::app {

void CWLKMenuCommands::OnMenuCalled() {
    snapshot_.Take();
    clipboardAtCall_ = bridge::ReadClipboardText();
}

bridge::InsertResult CWLKMenuCommands::Run(int32_t command, platform::WindowId target,
                                           const bridge::TargetContext* called,
                                           bool honourLayoutMacros) {
    const bridge::InsertResult result = RunSpecial(command)
                                            ? bridge::InsertResult::Special
                                            : Insert(command, target, called, honourLayoutMacros);
    // The snapshot belongs to the menu call that took it: a command that
    // comes later without a menu must not bring back a clipboard of then.
    snapshot_.ClearRestore();
    return result;
}

bridge::InsertResult CWLKMenuCommands::Insert(int32_t command, platform::WindowId target,
                                              const bridge::TargetContext* called,
                                              bool honourLayoutMacros) {
    const bridge::InsertionContext context = InsertionContextFor(target, called, clipboardAtCall_);
    const auto result = inserter_.InsertCommand(command, target, context, honourLayoutMacros);
    log::EventLog::Instance().Write(
        Format(u"Menu command %d for window %d: result %d",
               {ToText(command), ToText(int64_t(target)), ToText(int(result))}));
    return result;
}

void CWLKMenuCommands::RunItemCommand(int action, uint32_t commandId,
                                      const bridge::ItemSources& sources) {
    if (bridge::RunItemAction(action, commandId, sources) &&
        action == int(bridge::ItemAction::Copy))
        snapshot_.Take();
}

// The special commands leave the clipboard as the user had it before the menu.
bool CWLKMenuCommands::RunSpecial(int32_t command) {
    std::function<void()> action;
    switch (command) {
        case kMenuNothingChosen: break;
        case kMenuEditPhrases: action = special_.editPhrases; break;
        case kMenuHistoryPane: action = special_.showHistoryPane; break;
        case kMenuAddSelection: action = special_.addSelection; break;
        case kMenuSupport: action = special_.openSupport; break;
        default: return false;
    }
    inserter_.RestoreClipboard();
    if (action) action();
    return true;
}

}  // namespace wlk::app
