#include "phrases/rtf_expansion_win32.h"

#include <algorithm>
#include <string>

#include "phrases/macro_expansion.h"
#include "phrases/macro_values.h"
#include "platform/win32/windows_api.h"
// After <windows.h>.
#include <commdlg.h>
#include <richedit.h>

namespace wlk::phrases {

namespace {

using platform::win32::UniqueModule;

// A body may be far longer than the 32K characters a rich-edit control
// accepts by default.
constexpr LPARAM kTextLimit = 0x7FFFFFFE;

// The RTF bytes, one to a 16-bit unit, as the control streams them.
struct Stream {
    std::string bytes;
    size_t read = 0;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    auto* stream = reinterpret_cast<Stream*>(cookie);
    const size_t count = std::min(static_cast<size_t>(size), stream->bytes.size() - stream->read);
    stream->bytes.copy(reinterpret_cast<char*>(buffer), count, stream->read);
    stream->read += count;
    *done = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    reinterpret_cast<Stream*>(cookie)->bytes.append(reinterpret_cast<const char*>(buffer),
                                                    static_cast<size_t>(size));
    *done = size;
    return 0;
}

void LoadRtf(HWND control, const Text& rtf) {
    Stream stream;
    stream.bytes.reserve(rtf.size());
    for (char16_t unit : rtf) stream.bytes += static_cast<char>(unit & 0xFF);
    EDITSTREAM edit = {reinterpret_cast<DWORD_PTR>(&stream), 0, ReadStream};
    SendMessageW(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&edit));
}

Text SaveRtf(HWND control) {
    Stream stream;
    EDITSTREAM edit = {reinterpret_cast<DWORD_PTR>(&stream), 0, WriteStream};
    SendMessageW(control, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&edit));
    // Some rich-edit versions write the string's terminator into the stream.
    while (!stream.bytes.empty() && stream.bytes.back() == '\0') stream.bytes.pop_back();
    Text rtf;
    rtf.reserve(stream.bytes.size());
    for (char byte : stream.bytes) rtf += static_cast<char16_t>(static_cast<uint8_t>(byte));
    return rtf;
}

// Where `name` next occurs at or after `from`, ignoring case; -1 when nowhere.
LONG Find(HWND control, std::u16string_view name, LONG from) {
    const Text terminated(name);
    FINDTEXTEXW find = {};
    find.chrg = {from, -1};
    find.lpstrText = reinterpret_cast<LPCWSTR>(terminated.c_str());
    SendMessageW(control, EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&find));
    return find.chrgText.cpMin;
}

// Replaces what lies at [at, at + length) and gives the position after the
// inserted text (the control may store a line break shorter than given).
LONG ReplaceAt(HWND control, LONG at, size_t length, const Text& value) {
    CHARRANGE range = {at, at + static_cast<LONG>(length)};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(value.c_str()));
    SendMessageW(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax;
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

LONG TextLength(HWND control) {
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(
        SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

}  // namespace

Win32RtfExpander::~Win32RtfExpander() {
    if (control_) DestroyWindow(control_);
}

HWND Win32RtfExpander::Control() {
    if (control_) return control_;
    const wchar_t* windowClass = MSFTEDIT_CLASS;
    library_.Reset(LoadLibraryW(L"Msftedit.dll"));
    if (!library_) {
        library_.Reset(LoadLibraryW(L"Riched20.dll"));
        windowClass = RICHEDIT_CLASSW;
    }
    if (!library_) return nullptr;
    control_ = CreateWindowExW(0, windowClass, L"", WS_POPUP | ES_MULTILINE, 0, 0, 0, 0, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (control_) SendMessageW(control_, EM_EXLIMITTEXT, 0, kTextLimit);
    return control_;
}

int Win32RtfExpander::ExpandMacrosRtf(Text& rtf, const Text& selected, const Text& clipboard,
                                      uint32_t* caret, std::optional<uint16_t>* layout,
                                      uint32_t lcid) {
    if (caret) *caret = 0;
    if (layout) layout->reset();
    HWND control = Control();
    if (!control) return 0;
    LoadRtf(control, rtf);

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
        total += ReplaceFrom(control, name, first, MacroValue(Text(name), selected, clipboard, lcid));
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
    HWND control = Control();
    if (!control) return Text();
    LoadRtf(control, rtf);
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
    const int length = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()),
                                      static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(0, length)));
    return text;
}

}  // namespace wlk::phrases
