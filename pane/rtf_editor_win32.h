// The history pane's transforms of RTF items: a hidden rich-edit control
// loads the item, has its text changed in place, so that every run keeps its
// format, and writes it back.
#pragma once

#include "pane/text_transforms.h"
#include "platform/win32/rich_edit.h"

namespace wlk::pane {

class Win32RtfEditor : public RtfEditor {
public:
    bool ChangeCase(Text& rtf, CaseChange change) override;
    // A paragraph mark removed counts one, as the user sees one line go.
    bool Trim(Text& rtf, size_t& removed) override;
    bool Join(Text& rtf, size_t& replaced) override;

private:
    // The control holding `rtf`; null when there is none or it refuses the RTF.
    HWND Load(const Text& rtf);

    platform::win32::HiddenRichEdit control_;
};

}  // namespace wlk::pane
