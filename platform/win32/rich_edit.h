// A hidden rich-edit control for work on RTF, and the few calls that load,
// read, edit and save its content. RTF is held as 8-bit bytes, one to a
// 16-bit unit of a Text.
#pragma once

#include "platform/types.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

class HiddenRichEdit {
public:
    HiddenRichEdit() = default;
    ~HiddenRichEdit();
    HiddenRichEdit(const HiddenRichEdit&) = delete;
    HiddenRichEdit& operator=(const HiddenRichEdit&) = delete;

    // The control, made on first use on the caller's thread (the thread that
    // must use it and destroy this object); null when no rich-edit library
    // could be loaded.
    HWND Get();

private:
    UniqueModule library_;
    HWND control_ = nullptr;
};

// Replaces the whole content; false when the control does not take the RTF.
bool LoadRtf(HWND control, const Text& rtf);
Text SaveRtf(HWND control);

// Characters of the content, a paragraph mark counting one; the final
// paragraph mark, which every rich-edit control keeps, is not among them.
LONG TextLength(HWND control);
// The characters in [from, to), paragraph marks as "\r".
Text TextRange(HWND control, LONG from, LONG to);
// Replaces what lies at [at, at + length) and gives the position after the
// inserted text (the control may store a line break shorter than given). The
// inserted text takes the format of the first character replaced.
LONG ReplaceAt(HWND control, LONG at, size_t length, const Text& value);

}  // namespace wlk::platform::win32
