#include "app/menu_commands.h"

#include "app/insertion_context.h"
#include "bridge/selection_extract.h"
#include "log/event_log.h"
#include "platform/text.h"

namespace wlk::app {

namespace {

void Call(const std::function<void()>& action) {
    if (action) action();
}

}  // namespace

void CWLKMenuCommands::OnMenuCalled() {
    snapshot_.Take();
    clipboardAtCall_ = bridge::ReadClipboardText();
}

bridge::InsertResult CWLKMenuCommands::Run(int32_t command, platform::WindowId target,
                                           const bridge::TargetContext* called,
                                           bool honourLayoutMacros) {
    if (RunSpecial(command)) return bridge::InsertResult::Special;
    const bridge::InsertionContext context = InsertionContextFor(target, called, clipboardAtCall_);
    const auto result = inserter_.InsertCommand(command, target, context, honourLayoutMacros);
    log::EventLog::Instance().Write(
        Format(u"Menu command %d for window %d: result %d",
               {ToText(command), ToText(int64_t(target)), ToText(int(result))}));
    return result;
}

// The special commands leave the clipboard as the user had it before the menu.
bool CWLKMenuCommands::RunSpecial(int32_t command) {
    switch (command) {
        case kMenuNothingChosen: inserter_.RestoreClipboard(); return true;
        case kMenuEditPhrases:
            inserter_.RestoreClipboard();
            Call(special_.editPhrases);
            return true;
        case kMenuHistoryPane:
            inserter_.RestoreClipboard();
            Call(special_.showHistoryPane);
            return true;
        case kMenuAddSelection:
            inserter_.RestoreClipboard();
            Call(special_.addSelection);
            return true;
        case kMenuSupport:
            inserter_.RestoreClipboard();
            Call(special_.openSupport);
            return true;
        default: return false;
    }
}

}  // namespace wlk::app
