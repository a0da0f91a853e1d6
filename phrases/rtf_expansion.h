// Expanding the macros of an RTF phrase body in a hidden rich-edit control, so
// that the body's formatting is kept around the replaced values.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::phrases {

// RTF is held as 8-bit bytes, one to a 16-bit unit of a Text.
class RtfExpander {
public:
    virtual ~RtfExpander() = default;
    // Replaces every macro of the table in `rtf` and gives the number of
    // replacements; `rtf` is read back from the control only when it is
    // positive. `caret` gets the caret's distance from the end of the text,
    // `layout` the language of the last layout macro; either may be null.
    virtual int ExpandMacrosRtf(Text& rtf, const Text& selected, const Text& clipboard,
                                uint32_t* caret, std::optional<uint16_t>* layout,
                                uint32_t lcid) = 0;
    // The plain text the control shows for `rtf`.
    virtual Text PlainText(const Text& rtf) = 0;
};

}  // namespace wlk::phrases
