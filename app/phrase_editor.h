// Starting the phrase editor, a separate program beside this one.
#pragma once

#include "platform/types.h"

namespace wlk::app {

inline constexpr char16_t kEditorEndedEventName[] =
    u"Local\\Wordlark_Event_PhraseEditorAgentCoop_Ended";

// " /addfromcb", " /firstrun" and " /addseltext", in this order, as asked.
Text PhraseEditorParameters(bool addFromClipboard, bool firstRun, bool addSelectedText);

// What the editor's launch thread reports to the tray window (wParam of its message).
enum class EditorState { StartFailed = 0, Started = 1, Ended = 2 };

}  // namespace wlk::app
