#include "phrases/rtf_expansion_win32.h"

#include <algorithm>

#include "phrases/macro_expansion.h"
#include "phrases/macro_values.h"
#include "platform/win32/rich_edit.h"
// After <windows.h>.
#include <commdlg.h>
#include <richedit.h>

namespace wlk::phrases {

namespace {

using platform::win32::LoadRtf;
using platform::win32::ReplaceAt;
using platform::win32::SaveRtf;
using platform::win32::TextLength;

// Where `name` next occurs at or after `from`, ignoring case; -1 when nowhere.
LONG Find(HWND control, std::u16string_view name, LONG from) {
    const Text terminated(name);
    FINDTEXTEXW find = {};
    find.chrg = {from, -1};
    find.lpstrText = reinterpret_cast<LPCWSTR>(terminated.c_str());
    SendMessageW(control, EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&find));
    return find.chrgText.cpMin;
}

// Replaces every occurrence from `at` on, scanning on after each inserted
// value so that a value never expands into itself.
int ReplaceFrom(HWND control, std::u16string_view name, LONG at, const Text& value) {
    int count = 0;
    for (; at >= 0; at = Find(control, name, at)) {
        at = ReplaceAt(control, at, name.size(), value);
        ++count;
    }
    return count;
}

}  // namespace

int Win32RtfExpander::ExpandMacrosRtf(Text& rtf, const Text& selected, const Text& clipboard,
                                      uint32_t* caret, std::optional<uint16_t>* layout,
                                      uint32_t lcid) {
    if (caret) *caret = 0;
    if (layout) layout->reset();
    HWND control = control_.Get();
    if (!control || !LoadRtf(control, rtf)) return 0;

    int total = 0;
    const auto language = RemoveLayoutMacros(
        table_,
        [control](std::u16string_view name) {
            return ReplaceFrom(control, name, Find(control, name, 0), Text());
        },
        &total);
    if (layout) *layout = language;

    for (std::u16string_view name : kFixedMacros) {
        if (name == kMacroCursorPos) continue;
        const LONG first = Find(control, name, 0);
        if (first < 0) continue;  // values are only computed when used
        total += ReplaceFrom(control, name, first, MacroValue(name, selected, clipboard, lcid));
    }

    const LONG marker = Find(control, kMacroCursorPos, 0);
    if (marker >= 0) {
        ++total;
        ReplaceAt(control, marker, kMacroCursorPos.size(), Text());
        if (caret) *caret = static_cast<uint32_t>(std::max(0L, TextLength(control) - marker));
    }

    if (total > 0) rtf = SaveRtf(control);
    return total;
}

Text Win32RtfExpander::PlainText(const Text& rtf) {
    HWND control = control_.Get();
    if (!control || !LoadRtf(control, rtf)) return Text();
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
    const int length = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()),
                                      static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(0, length)));
    return text;
}

}  // namespace wlk::phrases
