// Inserting a choice of the phrase menu (a phrase or a clipboard-history item)
// into the target window, and putting the user's clipboard back when nothing
// is inserted.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "bridge/clipboard_snapshot.h"
#include "bridge/insert_actions.h"
#include "history/ch_queue.h"
#include "phrases/command_tree.h"
#include "phrases/prompt_dialog.h"
#include "phrases/rtf_expansion.h"
#include "platform/types.h"
#include "settings/settings.h"

namespace wlk::bridge {

// Command ids from this one up name clipboard-history items.
inline constexpr int32_t kFirstHistoryCommand = 2000;

// What was known of the target when the menu was called.
struct InsertionContext {
    uint32_t layout = 0;  // the target's keyboard layout, the 32 bits of its handle
    Text selectedText;
    Text clipboardText;  // the clipboard's text when the menu was called
    Text windowClass;    // of the focus window, for the paste keys
    Text executable;     // the target's program
    uint16_t Language() const { return static_cast<uint16_t>(layout & 0xFFFF); }
};

enum class InsertResult : int {
    Special = 0,      // a special id, handled by the tray window
    HistoryItem = 1,  // a history item was inserted
    Phrase = 2,       // a phrase was run
    NotFound = 3,     // nothing to insert; the clipboard was put back
};

// What the inserter works with; all of it outlives the inserter.
struct InserterParts {
    phrases::CWLKCommandTree& phrases;
    const settings::Settings& settings;
    ClipboardSnapshot& snapshot;
    phrases::RtfExpander& rtf;
    phrases::PromptDialog& prompt;
    std::function<history::CCHQueue*()> history;  // null while there is no history
    std::function<void(int sound)> playSound;     // 0 after an insertion, 1 for EXEC
};

class CWLKInserter {
public:
    explicit CWLKInserter(InserterParts parts) : parts_(std::move(parts)) {}
    // Inserts the phrase or history item `id` into `target`.
    InsertResult InsertCommand(int32_t id, platform::WindowId target,
                               const InsertionContext& context, bool honourLayoutMacros);
    // Puts the clipboard snapshot taken when the menu was called back, with the
    // history told that the write is the program's own.
    void RestoreClipboard();

private:
    struct Choice;
    std::optional<Choice> Lookup(int32_t id) const;
    ActionEnvironment Environment(const InsertionContext& context);
    void Sound(int sound);
    void SwitchLayout(uint16_t language, platform::WindowId target,
                      const InsertionContext& context);

    InserterParts parts_;
    RegisteredFormat rtfFormat_{u"Rich Text Format"};
};

}  // namespace wlk::bridge
