// The RTF expander of the running program: a hidden rich-edit control that
// loads the body, has its macros replaced in place and writes it back.
#pragma once

#include "phrases/macro_table.h"
#include "phrases/rtf_expansion.h"
#include "platform/win32/rich_edit.h"

namespace wlk::phrases {

class Win32RtfExpander : public RtfExpander {
public:
    explicit Win32RtfExpander(const MacroTable& table = MacroTable::Instance()) : table_(table) {}

    int ExpandMacrosRtf(Text& rtf, const Text& selected, const Text& clipboard, uint32_t* caret,
                        std::optional<uint16_t>* layout, uint32_t lcid) override;
    Text PlainText(const Text& rtf) override;

private:
    const MacroTable& table_;
    platform::win32::HiddenRichEdit control_;
};

}  // namespace wlk::phrases
