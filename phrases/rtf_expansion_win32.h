// The RTF expander of the running program: a hidden rich-edit control that
// loads the body, has its macros replaced in place and writes it back.
#pragma once

#include "phrases/macro_table.h"
#include "phrases/rtf_expansion.h"
#include "platform/win32/unique_handle.h"

namespace wlk::phrases {

class Win32RtfExpander : public RtfExpander {
public:
    explicit Win32RtfExpander(const MacroTable& table = MacroTable::Instance()) : table_(table) {}
    ~Win32RtfExpander() override;

    int ExpandMacrosRtf(Text& rtf, const Text& selected, const Text& clipboard, uint32_t* caret,
                        std::optional<uint16_t>* layout, uint32_t lcid) override;
    Text PlainText(const Text& rtf) override;

private:
    // The control, made on first use on the caller's thread; null when no
    // rich-edit library could be loaded.
    HWND Control();

    const MacroTable& table_;
    platform::win32::UniqueModule library_;
    HWND control_ = nullptr;
};

}  // namespace wlk::phrases
