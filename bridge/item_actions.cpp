#include "bridge/item_actions.h"

#include "bridge/clipboard_write.h"
#include "bridge/history_open.h"
#include "bridge/insert_command.h"
#include "bridge/web_address.h"
#include "bridge/web_search.h"
#include "log/event_log.h"
#include "platform/text.h"

namespace wlk::bridge {

namespace {

const history::CCHItem* HistoryItem(uint32_t commandId, const ItemSources& sources) {
    if (commandId < uint32_t(kFirstHistoryCommand) || !sources.history) return nullptr;
    return sources.history->Newest(commandId - kFirstHistoryCommand);
}

// Opening in a program works on history items only: a phrase is edited in
// the phrase editor.
bool OpenInProgram(uint32_t commandId, const ItemSources& sources, bool associated) {
    if (!HistoryItem(commandId, sources)) return false;
    return OpenHistoryItem(*sources.history, commandId - kFirstHistoryCommand, sources.owner,
                           associated);
}

}  // namespace

std::optional<Text> ItemPlainText(uint32_t commandId, const ItemSources& sources) {
    if (const history::CCHItem* item = HistoryItem(commandId, sources)) {
        if (item->Type() == history::CHT_BITMAP || item->Type() == history::CHT_QUIRENOTE)
            return std::nullopt;
        return item->Title(0, false);
    }
    const phrases::CWLKCommand* phrase = sources.phrases.FindById(commandId);
    if (!phrase || phrase->IsGroup()) return std::nullopt;
    if (phrase->dataType == phrases::CommandDataType::RTF)
        return sources.rtf.PlainText(phrase->command);
    return phrase->command;
}

bool RunItemAction(int action, uint32_t commandId, const ItemSources& sources) {
    bool done = false;
    switch (ItemAction(action)) {
        case ItemAction::Edit: done = OpenInProgram(commandId, sources, true); break;
        case ItemAction::OpenWith: done = OpenInProgram(commandId, sources, false); break;
        default: {
            const std::optional<Text> text = ItemPlainText(commandId, sources);
            if (!text) break;
            if (action == int(ItemAction::Copy))
                done = SetClipboardText(*text);
            else if (action == int(ItemAction::OpenAsUrl))
                done = OpenTextAsUrl(*text, sources.owner);
            else if (SearchAddress(*text, action))
                done = (WebSearch(*text, action, sources.owner), true);
        }
    }
    if (!done)
        log::EventLog::Instance().Write(Format(u"Item command %d on menu item %d not carried out",
                                               {ToText(action), ToText(int64_t(commandId))}));
    return done;
}

}  // namespace wlk::bridge
