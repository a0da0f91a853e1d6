#include "platform/win32/rich_edit.h"

#include <algorithm>
#include <string>

// After <windows.h>.
#include <richedit.h>

namespace wlk::platform::win32 {

namespace {

// A text may be far longer than the 32K characters a rich-edit control
// accepts by default.
constexpr LPARAM kTextLimit = 0x7FFFFFFE;
// 12 points, in twips.
constexpr LONG kRtfDefaultHeight = 240;

// The RTF bytes as the control streams them.
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

}  // namespace

HiddenRichEdit::~HiddenRichEdit() {
    if (control_) DestroyWindow(control_);
}

HWND HiddenRichEdit::Get() {
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
    if (!control_) return nullptr;
    SendMessageW(control_, EM_EXLIMITTEXT, 0, kTextLimit);
    // No wrapping (no device, width 1): in a window of no width every word
    // would be a line of its own, laid out anew with every change.
    SendMessageW(control_, EM_SETTARGETDEVICE, 0, 1);
    // RTF starts from plain 12-point characters, the control from its font,
    // which may be the bold system font: RTF that never says \plain would
    // read as bold throughout.
    CHARFORMAT2W plain = {};
    plain.cbSize = sizeof(plain);
    plain.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE;
    plain.yHeight = kRtfDefaultHeight;
    SendMessageW(control_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&plain));
    return control_;
}

bool LoadRtf(HWND control, const Text& rtf) {
    Stream stream;
    stream.bytes.reserve(rtf.size());
    for (char16_t unit : rtf) stream.bytes += static_cast<char>(unit & 0xFF);
    EDITSTREAM edit = {reinterpret_cast<DWORD_PTR>(&stream), 0, ReadStream};
    SendMessageW(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&edit));
    // What is not RTF at all the control refuses with an error.
    return edit.dwError == 0;
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

LONG TextLength(HWND control) {
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(
        SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

Text TextRange(HWND control, LONG from, LONG to) {
    if (to <= from) return Text();
    Text text(static_cast<size_t>(to - from) + 1, u'\0');
    TEXTRANGEW range = {{from, to}, reinterpret_cast<LPWSTR>(text.data())};
    const LRESULT copied =
        SendMessageW(control, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, copied)));
    return text;
}

LONG ReplaceAt(HWND control, LONG at, size_t length, const Text& value) {
    CHARRANGE range = {at, at + static_cast<LONG>(length)};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(value.c_str()));
    SendMessageW(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax;
}

}  // namespace wlk::platform::win32
