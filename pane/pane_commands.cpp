#include "pane/pane_commands.h"

#include <algorithm>

#include "pane/pane_texts.h"
#include "pane/text_transforms.h"
#include "platform/text.h"

namespace wlk::pane {

using history::CCHItem;
using history::CCHQueue;

namespace {

// Null when nothing is focused or the row is gone from the queue.
CCHItem* Focused(const CCHQueue& queue, const PaneSelection& selection) {
    return selection.focused ? queue.Newest(*selection.focused) : nullptr;
}

template <typename Test>
bool AnySelected(const CCHQueue& queue, const PaneSelection& selection, Test test) {
    return std::any_of(selection.selected.begin(), selection.selected.end(), [&](size_t position) {
        const CCHItem* item = queue.Newest(position);
        return item && test(*item);
    });
}

bool Unprotected(const CCHItem& item) {
    return !item.isProtected;
}

CommandState Enabled(bool on) {
    return {on, false};
}

CommandState Checked(bool on) {
    return {true, on};
}

}  // namespace

CommandState StateOf(uint32_t command, const CCHQueue& queue, const PaneSelection& selection,
                     const PaneFacts& facts) {
    CCHItem* focused = Focused(queue, selection);
    switch (command) {
        case kCmdCopy:
        case kCmdCopyAsPlainText:
        case kCmdOpenWith:
        case kCmdRun:
        case kCmdSave: return Enabled(focused);
        case kCmdProtect: return {focused != nullptr, focused && focused->isProtected};
        case kCmdEdit: return Enabled(focused && focused->Type() != history::CHT_QUIRENOTE);
        case kCmdUppercase:
        case kCmdLowercase:
        case kCmdTrim:
        case kCmdJoin:
            return Enabled(AnySelected(
                queue, selection, [](const CCHItem& item) { return Transformable(item.Type()); }));
        case kCmdOpenAsUrl: return Enabled(focused && !ItemText(*focused).empty());
        case kCmdSearchGoogle:
        case kCmdSearchYandex:
        case kCmdSearchWikipedia:
        case kCmdSearchMsdn: return Enabled(!facts.searchTextEmpty);
        case kCmdCopyAsRtf: return Enabled(focused && focused->GetFormat(history::CHT_RTF));
        case kCmdCopyAsHtml: return Enabled(focused && focused->GetFormat(history::CHT_HTML));
        case kCmdCopySourceUrl:
        case kCmdOpenSourceUrl: return Enabled(focused && !focused->sourceUrl.empty());
        case kCmdDelete: return Enabled(AnySelected(queue, selection, Unprotected));
        case kCmdClear:
            return Enabled(std::any_of(queue.Items().begin(), queue.Items().end(),
                                       [](const auto& item) { return Unprotected(*item); }));
        case kCmdUndo: return Enabled(queue.UndoCount() > 0);
        case kCmdCollapse: return Checked(facts.collapsed);
        case kCmdFix: return Checked(facts.fixed);
        case kCmdKeep: return Checked(facts.keep);
        default: return {};
    }
}

Text UndoMenuText(const Text& base, size_t undoCount) {
    return base + u" [" + ToText(undoCount) + u"]";
}

bool ProtectSelection(CCHQueue& queue, const PaneSelection& selection) {
    const CCHItem* focused = Focused(queue, selection);
    if (!focused) return false;
    const bool on = !focused->isProtected;
    for (size_t position : selection.selected)
        if (CCHItem* item = queue.Newest(position)) item->SetProtected(on);
    return true;
}

std::vector<int> DeletablePositions(const CCHQueue& queue, const PaneSelection& selection) {
    std::vector<int> positions;
    for (size_t position : selection.selected)
        if (const CCHItem* item = queue.Newest(position); item && Unprotected(*item))
            positions.push_back(int(position));
    return positions;
}

}  // namespace wlk::pane
