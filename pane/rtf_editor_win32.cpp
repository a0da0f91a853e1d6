#include "pane/rtf_editor_win32.h"

#include <algorithm>
#include <cstring>

// After <windows.h>.
#include <richedit.h>

namespace wlk::pane {

namespace {

using platform::win32::LoadRtf;
using platform::win32::ReplaceAt;
using platform::win32::SaveRtf;
using platform::win32::TextLength;
using platform::win32::TextRange;

constexpr std::u16string_view kTrimmed = u" \r\n";

// The control's whole text, without the final paragraph mark it always keeps.
Text ControlText(HWND control) {
    return TextRange(control, 0, TextLength(control));
}

// The whole format of the character at `at`; the padding zeroed, so that two
// formats compare byte for byte.
void FormatAt(HWND control, size_t at, CHARFORMAT2W& format) {
    CHARRANGE range = {static_cast<LONG>(at), static_cast<LONG>(at + 1)};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    std::memset(&format, 0, sizeof(format));
    format.cbSize = sizeof(format);
    SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

// Characters that may be written over with themselves: not paragraph marks,
// line breaks or tabs, nor embedded objects, which that would lose.
bool Rewritable(char16_t c) {
    return c >= u' ' && c != u'\uFFFC';
}

// The end of the rewritable characters from `at` on that share its format.
size_t RunEnd(HWND control, const Text& text, size_t at) {
    CHARFORMAT2W first, next;
    FormatAt(control, at, first);
    size_t end = at + 1;
    for (; end < text.size() && Rewritable(text[end]); ++end) {
        FormatAt(control, end, next);
        if (std::memcmp(&first, &next, sizeof(first)) != 0) break;
    }
    return end;
}

Text CaseChanged(Text text, CaseChange change) {
    auto* units = reinterpret_cast<LPWSTR>(text.data());
    const auto length = static_cast<DWORD>(text.size());
    if (change == CaseChange::Upper) {
        CharUpperBuffW(units, length);
    } else {
        CharLowerBuffW(units, length);
    }
    return text;
}

// Writes `changed` over the control's `text` where they differ, a run of
// characters in one format at a time: a replacement takes the format of its
// first character, and every replacement lays out its paragraph anew, which
// would be slow character by character. True when anything changed.
bool ReplaceChanged(HWND control, const Text& text, const Text& changed) {
    bool any = false;
    for (size_t at = 0; at < text.size();) {
        if (changed[at] == text[at]) {
            ++at;
            continue;
        }
        const size_t end = RunEnd(control, text, at);
        size_t last = end;
        while (changed[last - 1] == text[last - 1]) --last;
        ReplaceAt(control, static_cast<LONG>(at), last - at, changed.substr(at, last - at));
        any = true;
        at = end;
    }
    return any;
}

}  // namespace

HWND Win32RtfEditor::Load(const Text& rtf) {
    HWND control = control_.Get();
    return control && LoadRtf(control, rtf) ? control : nullptr;
}

bool Win32RtfEditor::ChangeCase(Text& rtf, CaseChange change) {
    HWND control = Load(rtf);
    if (!control) return false;
    const Text text = ControlText(control);
    if (ReplaceChanged(control, text, CaseChanged(text, change))) rtf = SaveRtf(control);
    return true;
}

bool Win32RtfEditor::Trim(Text& rtf, size_t& removed) {
    removed = 0;
    HWND control = Load(rtf);
    if (!control) return false;
    const Text text = ControlText(control);
    const size_t first = std::min(text.find_first_not_of(kTrimmed), text.size());
    const size_t last = text.find_last_not_of(kTrimmed);
    const size_t end = last == Text::npos ? first : last + 1;
    // The end first, so that the start stays where it is.
    if (end < text.size()) ReplaceAt(control, static_cast<LONG>(end), text.size() - end, Text());
    if (first > 0) ReplaceAt(control, 0, first, Text());
    // What the control actually let go.
    removed = text.size() - static_cast<size_t>(TextLength(control));
    if (removed > 0) rtf = SaveRtf(control);
    return true;
}

bool Win32RtfEditor::Join(Text& rtf, size_t& replaced) {
    replaced = 0;
    HWND control = Load(rtf);
    if (!control) return false;
    const Text text = ControlText(control);
    // From the end, so that the breaks still to come stay where they are.
    for (size_t at = text.size(); at-- > 0;) {
        if (text[at] != u'\r' && text[at] != u'\n') continue;
        const size_t length = text[at] == u'\n' && at > 0 && text[at - 1] == u'\r' ? 2 : 1;
        at -= length - 1;
        ReplaceAt(control, static_cast<LONG>(at), length, u" ");
        ++replaced;
    }
    if (replaced > 0) rtf = SaveRtf(control);
    return true;
}

}  // namespace wlk::pane
