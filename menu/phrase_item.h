// The item of one phrase as the menu shows it: its label previewed through
// macro expansion, its caret mark, keyboard-layout tag, tooltip and icon.
#pragma once

#include "menu/menu_builder.h"
#include "menu/menu_model.h"
#include "phrases/command.h"
#include "phrases/macro_values.h"
#include "phrases/rtf_expansion.h"

namespace wlk::menu {

// Labels are cut to this many characters.
inline constexpr size_t kPhraseLabelChars = 40;
// Stands in for %CURSOR_POS% while a label is expanded, so that its place in
// the expanded text can be found.
inline constexpr char16_t kCaretMarker[] = u"{B43C2CC5-77A0-44dd-8DAA-8EAD133B41A3}";

// The phrase's name on one line, at most 40 characters.
Text PhraseTitle(const phrases::CWLKCommand& phrase);

// The tag of a phrase that switches the keyboard layout to `language`: "+"
// and the layout's two-letter code; empty when the table has no such layout.
Text LayoutTag(uint16_t language);

// The icon key of a phrase; kIconOfFile for a command naming an existing file.
int PhraseIconKey(const phrases::CWLKCommand& phrase);

// Everything of the phrase's item data but its place in the menu. `values`
// are the request's macro values, kept for the next phrase. `rtf` may be
// null: an RTF phrase is then labelled with its name.
MenuItemData MakePhraseItem(const phrases::CWLKCommand& phrase, const MenuRequest& request,
                            phrases::MacroValues& values, phrases::RtfExpander* rtf);

// The tooltip of an item. A phrase's is made now of its type, label, preview
// and layout tag, with the interface texts looked up now: with a language
// file each look-up reads the file. Any other item's is the one it holds.
Text ItemTooltip(const MenuItemData& item);

}  // namespace wlk::menu
