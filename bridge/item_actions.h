// The commands of the phrase menu's right-click menu, carried out on a phrase
// or a clipboard-history item: copy its text, open it as a web address, open
// it in a program, or look it up with a search engine.
#pragma once

#include <cstdint>
#include <optional>

#include "history/ch_queue.h"
#include "phrases/command_tree.h"
#include "phrases/rtf_expansion.h"
#include "platform/types.h"

namespace wlk::bridge {

enum class ItemAction : int {
    Copy = 0,
    OpenAsUrl = 1,
    Edit = 2,
    OpenWith = 3,
    Google = 4,
    Yandex = 5,
    Msdn = 6,
    Wikipedia = 7,
};

struct ItemSources {
    const phrases::CWLKCommandTree& phrases;
    const history::CCHQueue* history;  // null while there is no history
    phrases::RtfExpander& rtf;
    platform::WindowId owner;  // of the boxes that report a failure
};

// The plain text of the phrase or history item `commandId` (history items
// from 2000, newest first); nothing when it names neither or holds no text.
std::optional<Text> ItemPlainText(uint32_t commandId, const ItemSources& sources);

// What a search looks up: for a phrase the texts it would insert, its macros
// expanded for no window in particular and its prompts as their questions
// (a search never asks the user); for a history item its plain text.
std::optional<Text> ItemSearchText(uint32_t commandId, const ItemSources& sources);

// Carries out `action` (0 to 7) on the item; false, with a log line, when it
// could not be done.
bool RunItemAction(int action, uint32_t commandId, const ItemSources& sources);

}  // namespace wlk::bridge
