#include "pane/pane_actions.h"

#include <algorithm>

#include "bridge/clipboard_write.h"
#include "bridge/history_open.h"
#include "bridge/shell_actions.h"
#include "bridge/web_address.h"
#include "bridge/web_search.h"
#include "history/own_copy.h"
#include "log/event_log.h"
#include "pane/pane_texts.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::pane {

namespace {

constexpr int kLaunchSound = 1;
constexpr uint32_t kRemovedCharsText = 294;
constexpr uint32_t kJoinedLinesText = 295;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

std::string_view Bytes(const history::CCHItem& item) {
    return std::string_view(reinterpret_cast<const char*>(item.Data()), item.Size());
}

// A block's bytes without the terminating NUL text blocks carry.
std::span<const uint8_t> TextBlock(const history::CCHItem& item) {
    size_t size = item.Size();
    while (size > 0 && item.Data()[size - 1] == 0) --size;
    return std::span<const uint8_t>(item.Data(), size);
}

bool CopyText(const Text& text) {
    if (text.empty()) return false;
    history::OwnCopyScope ownCopy;
    return bridge::SetClipboardText(text);
}

bool CopyAsRtf(history::CCHItem& item) {
    const history::CCHItem* rtf = item.GetFormat(history::CHT_RTF);
    if (!rtf || !rtf->Data()) return false;
    auto& clipboard = platform::Current().clipboard;
    history::OwnCopyScope ownCopy;
    return bridge::SetClipboardBlock(clipboard.RegisterFormat(u"Rich Text Format"),
                                     TextBlock(*rtf));
}

// The HTML block as a text, header and all, for a user who wants the markup.
bool CopyAsHtml(history::CCHItem& item) {
    const history::CCHItem* html = item.GetFormat(history::CHT_HTML);
    if (!html || !html->Data()) return false;
    return CopyText(FromUtf8(Bytes(*html).substr(0, TextBlock(*html).size())));
}

bool EmptyClipboard(platform::WindowId owner) {
    auto& clipboard = platform::Current().clipboard;
    if (!clipboard.Open(owner)) return false;
    history::OwnCopyScope ownCopy;
    clipboard.Empty();
    clipboard.Close();
    return true;
}

// The outcome of a transform: the rows redrawn and the history saved again.
CommandOutcome Transformed(const TransformResult& result, const PaneServices& services,
                           uint32_t countText) {
    if (!result.changed.empty()) services.history.TouchItems();
    CommandOutcome outcome{true, !result.changed.empty(), true};
    if (countText) {
        outcome.showCount = true;
        outcome.countText = countText;
        outcome.count = result.count;
    }
    return outcome;
}

CommandOutcome RunOnHistory(uint32_t command, const PaneSelection& selection,
                            const PaneServices& services) {
    auto& history = services.history;
    history::CCHQueue& queue = history.Items();
    switch (command) {
        case kCmdProtect: return {true, ProtectSelection(queue, selection), true};
        case kCmdDelete: {
            const std::vector<int> positions = DeletablePositions(queue, selection);
            return {true, !positions.empty() && history.Delete(positions), true};
        }
        case kCmdClear: return {true, history.Clear(), true};
        case kCmdUndo: return {true, history.Undo(), true};
        case kCmdClearUndoPool: queue.ClearUndoPool(); return {true, true, false};
        case kCmdUppercase:
        case kCmdLowercase:
            return Transformed(
                ChangeCase(queue, selection.selected,
                           command == kCmdUppercase ? CaseChange::Upper : CaseChange::Lower,
                           services.rtf),
                services, 0);
        case kCmdTrim:
            return Transformed(Trim(queue, selection.selected, services.rtf), services,
                               kRemovedCharsText);
        case kCmdJoin:
            return Transformed(Join(queue, selection.selected, services.rtf), services,
                               kJoinedLinesText);
        default: return {};
    }
}

// Commands on the focused item alone.
constexpr uint32_t kItemCommands[] = {
    kCmdCopy,          kCmdCopyAsPlainText, kCmdCopyAsRtf, kCmdCopyAsHtml, kCmdCopySourceUrl,
    kCmdOpenSourceUrl, kCmdOpenAsUrl,       kCmdEdit,      kCmdOpenWith,   kCmdRun,
};

CommandOutcome RunOnItem(uint32_t command, size_t position, const PaneServices& services) {
    history::CCHQueue& queue = services.history.Items();
    history::CCHItem& item = *queue.Newest(position);
    const platform::WindowId owner = services.owner;
    switch (command) {
        case kCmdCopy: {
            const bool copied = CopyItem(services.history, position);
            return {true, copied, copied, copied, item.id};
        }
        case kCmdCopyAsPlainText: return {true, CopyText(ItemText(item))};
        case kCmdCopyAsRtf: return {true, CopyAsRtf(item)};
        case kCmdCopyAsHtml: return {true, CopyAsHtml(item)};
        case kCmdCopySourceUrl: return {true, CopyText(item.sourceUrl)};
        case kCmdOpenSourceUrl: return {true, bridge::OpenTextAsUrl(item.sourceUrl, owner)};
        case kCmdOpenAsUrl:
            return {true, bridge::OpenTextAsUrl(UrlFromText(ItemText(item)), owner)};
        case kCmdEdit:
        case kCmdOpenWith:
            return {true, bridge::OpenHistoryItem(queue, position, owner, command == kCmdEdit)};
        case kCmdRun:
            return {true, bridge::RunCommand(owner, RowText(item),
                                             [&] { services.sound(kLaunchSound); })};
        default: return {};
    }
}

int SearchEngineOf(uint32_t command) {
    switch (command) {
        case kCmdSearchGoogle: return int(bridge::SearchEngine::Google);
        case kCmdSearchYandex: return int(bridge::SearchEngine::Yandex);
        case kCmdSearchWikipedia: return int(bridge::SearchEngine::Wikipedia);
        case kCmdSearchMsdn: return int(bridge::SearchEngine::Msdn);
        default: return 0;
    }
}

}  // namespace

bool CopyItem(history::ClipboardHistory& history, size_t position) {
    const history::CCHItem* item = history.Items().Newest(position);
    const bool copied =
        item && item->Type() != history::CHT_HTML && history.PutEntryOnClipboard(position);
    if (!copied) Log().WriteError(u"Cannot copy data to clipboard from float pane");
    return copied;
}

Text SearchText(const history::CCHQueue& queue, const PaneSelection& selection) {
    const history::CCHItem* item = selection.focused ? queue.Newest(*selection.focused) : nullptr;
    return item ? wlk::Trim(ItemText(*item)) : Text();
}

CommandOutcome RunPaneCommand(uint32_t command, const PaneSelection& selection,
                              const PaneServices& services) {
    const history::CCHQueue& queue = services.history.Items();
    if (command == kCmdEmptyClipboard) return {true, EmptyClipboard(services.owner)};
    if (const int engine = SearchEngineOf(command)) {
        const Text text = SearchText(queue, selection);
        if (!text.empty()) bridge::WebSearch(text, engine, services.owner);
        return {true, !text.empty()};
    }
    if (CommandOutcome outcome = RunOnHistory(command, selection, services); outcome.handled)
        return outcome;
    if (std::find(std::begin(kItemCommands), std::end(kItemCommands), command) ==
        std::end(kItemCommands))
        return {};
    // Without a focused row the command does nothing.
    if (!selection.focused || !queue.Newest(*selection.focused)) return {true, false};
    return RunOnItem(command, *selection.focused, services);
}

}  // namespace wlk::pane
