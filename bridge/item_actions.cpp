#include "bridge/item_actions.h"

#include "bridge/action_list.h"
#include "bridge/clipboard_write.h"
#include "bridge/history_open.h"
#include "bridge/insert_command.h"
#include "bridge/selection_extract.h"
#include "bridge/web_address.h"
#include "bridge/web_search.h"
#include "history/html_text.h"
#include "log/event_log.h"
#include "platform/platform.h"
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

// Pictures and documents have no text; neither has a page without any.
std::optional<Text> HistoryItemText(const history::CCHItem& item) {
    Text text;
    switch (item.Type()) {
        case history::CHT_BITMAP:
        case history::CHT_QUIRENOTE: return std::nullopt;
        case history::CHT_HTML:
            if (item.Data())
                text = history::HtmlPlainText(
                    std::string_view(reinterpret_cast<const char*>(item.Data()), item.Size()));
            break;
        default: text = item.Title(0, false);
    }
    if (text.empty()) return std::nullopt;
    return text;
}

const phrases::CWLKCommand* Phrase(uint32_t commandId, const ItemSources& sources) {
    const phrases::CWLKCommand* phrase = sources.phrases.FindById(commandId);
    return phrase && !phrase->IsGroup() ? phrase : nullptr;
}

// Never shown: a search takes a prompt's question for its answer.
class NoPrompt : public phrases::PromptDialog {
public:
    std::optional<Text> Ask(const Text&, platform::WindowId) override { return std::nullopt; }
};

Text PhraseSearchText(const phrases::CWLKCommand& phrase, const ItemSources& sources) {
    NoPrompt prompt;
    RegisteredFormat rtfFormat(u"Rich Text Format");
    ActionEnvironment env{.rtf = sources.rtf, .prompt = prompt, .rtfFormat = rtfFormat};
    // No target: dates and names in the user's own locale, as the system
    // gives them when no locale is named.
    InsertionContext context;
    context.layout = platform::Current().locale.UserDefaultLcid();
    context.clipboardText = ReadClipboardText();
    Text text;
    for (const auto& action : BuildActions(context, 0, phrase.command, phrase.dataType, env)) {
        const bool rtf = dynamic_cast<const CWLKAction_Rtf*>(action.get()) != nullptr;
        text += rtf ? sources.rtf.PlainText(action->text) : action->text;
    }
    return text;
}

}  // namespace

std::optional<Text> ItemPlainText(uint32_t commandId, const ItemSources& sources) {
    if (const history::CCHItem* item = HistoryItem(commandId, sources))
        return HistoryItemText(*item);
    const phrases::CWLKCommand* phrase = Phrase(commandId, sources);
    if (!phrase) return std::nullopt;
    if (phrase->dataType == phrases::CommandDataType::RTF)
        return sources.rtf.PlainText(phrase->command);
    return phrase->command;
}

std::optional<Text> ItemSearchText(uint32_t commandId, const ItemSources& sources) {
    if (const history::CCHItem* item = HistoryItem(commandId, sources))
        return HistoryItemText(*item);
    const phrases::CWLKCommand* phrase = Phrase(commandId, sources);
    if (!phrase) return std::nullopt;
    return PhraseSearchText(*phrase, sources);
}

bool RunItemAction(int action, uint32_t commandId, const ItemSources& sources) {
    bool done = false;
    switch (ItemAction(action)) {
        case ItemAction::Edit: done = OpenInProgram(commandId, sources, true); break;
        case ItemAction::OpenWith: done = OpenInProgram(commandId, sources, false); break;
        case ItemAction::Copy:
        case ItemAction::OpenAsUrl: {
            const std::optional<Text> text = ItemPlainText(commandId, sources);
            if (!text) break;
            done = action == int(ItemAction::Copy) ? SetClipboardText(*text)
                                                   : OpenTextAsUrl(*text, sources.owner);
            break;
        }
        default: {
            if (!SearchAddress(Text(), action)) break;
            const std::optional<Text> text = ItemSearchText(commandId, sources);
            if (text) done = (WebSearch(*text, action, sources.owner), true);
        }
    }
    if (!done)
        log::EventLog::Instance().Write(Format(u"Item command %d on menu item %d not carried out",
                                               {ToText(action), ToText(int64_t(commandId))}));
    return done;
}

}  // namespace wlk::bridge
