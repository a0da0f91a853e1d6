// A phrase body being expanded, with the places of its '%' signs kept beside
// it. Every macro name starts with '%', so a name is compared only there: a
// body without macros costs one scan, and each macro that is present one
// rebuild of the text, however many names the table holds.
#pragma once

#include <string_view>
#include <vector>

#include "platform/types.h"

namespace wlk::phrases {

class MacroText {
public:
    explicit MacroText(Text text);
    const Text& Get() const { return text_; }
    // The text moved out, leaving this empty.
    Text Take();
    // The position of the first occurrence of `name`, a word between two '%'
    // signs, or Text::npos.
    size_t Find(std::u16string_view name) const;
    bool Contains(std::u16string_view name) const { return Find(name) != Text::npos; }
    // Replaces each occurrence from left to right; the inserted values are not
    // searched again for `name`. Gives the number replaced.
    int ReplaceAll(std::u16string_view name, std::u16string_view value);

private:
    bool ReplaceSingle(std::u16string_view name, std::u16string_view value);

    Text text_;
    std::vector<size_t> percents_;  // ascending
};

}  // namespace wlk::phrases
