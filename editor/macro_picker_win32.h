// Choosing a macro from a popup menu and putting it into the body being
// edited.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/types.h"

namespace wlk::editor {

// Shows the macros at `screenPoint`, one submenu per group, each item
// "NAME — description"; the text to insert for the chosen one, nothing when
// the menu is dismissed.
std::optional<Text> PickMacro(HWND owner, POINT screenPoint);

// Replaces the control's selection (or inserts at its caret) with `text`, as
// one step the user can undo.
void InsertAtCaret(HWND richEdit, const Text& text);

}  // namespace wlk::editor
