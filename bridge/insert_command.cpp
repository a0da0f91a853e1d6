#include "bridge/insert_command.h"

#include "bridge/action_list.h"
#include "bridge/layout_switch.h"
#include "history/own_copy.h"
#include "log/event_log.h"
#include "phrases/macro_expansion.h"
#include "platform/platform.h"

namespace wlk::bridge {

namespace {

using phrases::CommandDataType;

// The tray window's own commands reach the inserter as these ids.
constexpr int32_t kFirstSpecialCommand = -6;
constexpr int32_t kLastSpecialCommand = -2;

// A text or RTF history item's data as the actions take it: RTF one byte to
// a unit, up to its terminator.
Text RtfText(const history::CCHItem& item) {
    const uint8_t* data = item.Data();
    Text rtf;
    for (uint32_t i = 0; data && i < item.Size() && data[i] != 0; ++i) rtf.push_back(data[i]);
    return rtf;
}

}  // namespace

struct CWLKInserter::Choice {
    Text text;
    CommandDataType type = CommandDataType::TEXT;
    bool isHistory = false;
};

std::optional<CWLKInserter::Choice> CWLKInserter::Lookup(int32_t id) const {
    if (id >= kFirstHistoryCommand) {
        const history::CCHQueue* queue = parts_.history ? parts_.history() : nullptr;
        const history::CCHItem* item =
            queue ? queue->Newest(size_t(id - kFirstHistoryCommand)) : nullptr;
        if (!item) return std::nullopt;
        switch (item->Type()) {
            case history::CHT_TEXT_ANSI:
            case history::CHT_TEXT_UNICODE:
                return Choice{item->PlainText(), CommandDataType::TEXT, true};
            case history::CHT_RTF: return Choice{RtfText(*item), CommandDataType::RTF, true};
            default: return std::nullopt;  // pictures and documents are not text to insert
        }
    }
    const phrases::CWLKCommand* phrase = id > 0 ? parts_.phrases.FindById(uint32_t(id)) : nullptr;
    if (!phrase || phrase->IsGroup()) return std::nullopt;
    return Choice{phrase->command, phrase->dataType, false};
}

void CWLKInserter::SwitchLayout(uint16_t language, platform::WindowId target,
                                const InsertionContext& context) {
    if (language == context.Language()) return;
    auto& p = platform::Current();
    const std::vector<uint32_t> layouts = p.keyboard.InstalledLayouts();
    const std::optional<uint32_t> wanted = FindInstalledLayout(layouts, language);
    if (!wanted) return;
    const uint32_t thread = p.targets.OwnerOf(target).threadId;
    if (thread == 0) {
        // No thread to watch the switch on: the keys would go to whoever has
        // the focus now, with no way to see where they got.
        log::EventLog::Instance().Write(u"Keyboard layout not switched: the target window is gone");
        return;
    }
    SwitchKeyboardLayout(*wanted, thread, target, int(layouts.size()));
}

ActionEnvironment CWLKInserter::Environment(const InsertionContext& context) {
    const auto& settings = parts_.settings;
    return ActionEnvironment{
        .rtf = parts_.rtf,
        .prompt = parts_.prompt,
        .rtfFormat = rtfFormat_,
        .pasteMethod = settings.Get(settings::IntSetting::TextPasteMethod),
        .printLimit = settings.Get(settings::IntSetting::PrintLTChars),
        .pasteKeys = PasteKeysFor(context.windowClass, context.executable),
        .onLaunched = [this] { Sound(1); },
        .clipboardFailed = false,
    };
}

void CWLKInserter::Sound(int sound) {
    if (parts_.playSound) parts_.playSound(sound);
}

InsertResult CWLKInserter::InsertCommand(int32_t id, platform::WindowId target,
                                         const InsertionContext& context, bool honourLayoutMacros) {
    if (id >= kFirstSpecialCommand && id <= kLastSpecialCommand) return InsertResult::Special;
    std::optional<Choice> choice = Lookup(id);
    if (!choice) {
        RestoreClipboard();
        return InsertResult::NotFound;
    }
    std::optional<uint16_t> language;
    if (honourLayoutMacros) language = phrases::FindLayoutMacro(choice->text);

    ActionEnvironment env = Environment(context);
    const ActionList actions = BuildActions(context, target, choice->text, choice->type, env);
    if (language) SwitchLayout(*language, target, context);

    if (!actions.empty()) {
        Sound(choice->type == CommandDataType::EXEC ? 1 : 0);
        history::OwnCopyScope ownCopy;
        if (RunActions(actions, target) && !choice->isHistory)
            parts_.phrases.MarkUsed(uint32_t(id));
        // A refused write may have emptied the clipboard; the user's content
        // goes back rather than nothing.
        if (env.clipboardFailed) parts_.snapshot.PutBack();
    }
    if (!choice->isHistory) return InsertResult::Phrase;

    // The chosen item becomes the clipboard's content, as if copied again.
    const bool plain = choice->type == CommandDataType::TEXT;
    if (!CWLKAction_TextCommon::MutiCopy_Impl(env, plain, choice->text, 0, language.value_or(0),
                                              false))
        RestoreClipboard();
    return InsertResult::HistoryItem;
}

// A synchronous write: its change notifications, handled after the scope, are
// known as the program's own by the clipboard's sequence number, so that a
// copy the user makes right after a cancelled menu is recorded.
void CWLKInserter::RestoreClipboard() {
    history::OwnCopyScope ownCopy;
    parts_.snapshot.PutBack();
}

}  // namespace wlk::bridge
