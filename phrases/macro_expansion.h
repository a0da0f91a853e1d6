// Expanding the macros of a plain-text phrase body at the moment it is
// inserted or previewed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "phrases/macro_table.h"
#include "phrases/macro_values.h"
#include "platform/types.h"

namespace wlk::phrases {

// Replaces every macro of the table in `text` and gives the number of
// replacements. `caret` gets the caret's distance from the end of the text
// (line breaks counted once), `layout` the language of the keyboard layout to
// switch to; either may be null. `values` holds the selection, the clipboard
// and the target's locale, and keeps the values made for later bodies.
int ExpandMacros(const MacroTable& table, Text& text, MacroValues& values, int* caret,
                 std::optional<uint16_t>* layout);
// The same with the process-wide table, the values made for this body alone.
int ExpandMacros(Text& text, const Text& selected, const Text& clipboard, int* caret,
                 std::optional<uint16_t>* layout, uint32_t lcid);

// Walks the layout macros in table order, handing each name to `removeAll`,
// which removes every occurrence wherever the body is kept and gives how many
// it removed. The language of the last one that was there, or none; `removed`
// (when given) gets the total.
std::optional<uint16_t> RemoveLayoutMacros(const MacroTable& table,
                                           const std::function<int(std::u16string_view)>& removeAll,
                                           int* removed = nullptr);

// Removes every layout macro from `text`; the language of the last one in
// table order that was there, or none.
std::optional<uint16_t> FindLayoutMacro(const MacroTable& table, Text& text);
std::optional<uint16_t> FindLayoutMacro(Text& text);

}  // namespace wlk::phrases
