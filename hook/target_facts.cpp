#include "hook/target_facts.h"

#include <richedit.h>

#include <algorithm>
#include <string>

#include "platform/win32/secret_window.h"

namespace wlk::hook {

namespace {

// How long the focus window may take to answer one text message: it may
// belong to another thread that shares this thread's input.
constexpr UINT kTextMessageTimeoutMs = 100;
constexpr int kClassNameChars = 256;
constexpr DWORD kLongPathChars = 32768;

int32_t Handle32(HWND window) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(window));
}

std::u16string FromWide(const wchar_t* text, size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

std::u16string ExecutablePath() {
    std::wstring path(kLongPathChars, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), kLongPathChars);
    return FromWide(path.data(), std::min(length, kLongPathChars));
}

std::u16string ClassName(HWND window) {
    wchar_t name[kClassNameChars] = {};
    const int length = GetClassNameW(window, name, kClassNameChars);
    return FromWide(name, length > 0 ? length : 0);
}

bool IsNamed(const std::u16string& name, const wchar_t* other) {
    return _wcsicmp(reinterpret_cast<const wchar_t*>(name.c_str()), other) == 0;
}

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kTextMessageTimeoutMs, &result) != 0;
}

// Rich-edit controls count a line break as one character in their positions
// but give it as two in WM_GETTEXT, so their range is asked for directly.
bool ReadRichEditRange(HWND window, DWORD start, DWORD end, std::u16string& text) {
    std::wstring buffer(end - start + 1, L'\0');
    TEXTRANGEW range{{static_cast<LONG>(start), static_cast<LONG>(end)}, buffer.data()};
    DWORD_PTR copied = 0;
    if (!Ask(window, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range), copied)) return false;
    text = FromWide(buffer.data(), std::min<size_t>(copied, end - start));
    return true;
}

bool ReadEditRange(HWND window, DWORD start, DWORD end, std::u16string& text) {
    std::wstring buffer(end + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!Ask(window, WM_GETTEXT, end + 1, reinterpret_cast<LPARAM>(buffer.data()), copied))
        return false;
    copied = std::min<DWORD_PTR>(copied, end);
    text = copied > start ? FromWide(buffer.data() + start, copied - start) : std::u16string();
    return true;
}

// Edit and rich-edit controls give their selection; from any other window
// the program takes it by a simulated copy. A password box gives nothing.
void ReadSelection(HWND window, const std::u16string& className, size_t maxChars,
                   QueryFacts& facts) {
    if (platform::win32::HoldsSecret(window)) {
        facts.selState = kSelStateWithheld;
        return;
    }
    facts.selState = 1;
    const bool rich = IsNamed(className, L"RichEdit20W") || IsNamed(className, L"RICHEDIT50W");
    if (!rich && !IsNamed(className, L"Edit")) return;
    DWORD start = 0, end = 0;
    DWORD_PTR ignored = 0;
    if (!Ask(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end),
             ignored))
        return;
    if (start >= end) {
        facts.selState = 0;
        return;
    }
    end = static_cast<DWORD>(std::min<size_t>(end, start + maxChars));
    std::u16string text;
    if (rich ? ReadRichEditRange(window, start, end, text)
             : ReadEditRange(window, start, end, text)) {
        facts.selText = std::move(text);
        facts.selState = 2;
    }
}

// Below the caret, where a menu does not hide the line being written.
void ReadCaretPoint(const GUITHREADINFO& gui, QueryFacts& facts) {
    if (!gui.hwndCaret) return;
    POINT point{gui.rcCaret.left, gui.rcCaret.bottom};
    if (!ClientToScreen(gui.hwndCaret, &point)) return;
    facts.pointX = point.x;
    facts.pointY = point.y;
}

}  // namespace

std::optional<QueryFacts> GatherFacts(HWND requested, size_t maxSelectionChars) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &gui)) gui = GUITHREADINFO{};
    const HWND target = gui.hwndFocus ? gui.hwndFocus : gui.hwndActive ? gui.hwndActive : requested;
    if (!target || !IsWindow(target)) return std::nullopt;

    QueryFacts facts;
    facts.appPath = ExecutablePath();
    facts.window = Handle32(target);
    facts.active = Handle32(gui.hwndActive);
    facts.focus = Handle32(gui.hwndFocus);
    facts.capture = Handle32(gui.hwndCapture);
    facts.menuOwner = Handle32(gui.hwndMenuOwner);
    facts.caret = Handle32(gui.hwndCaret);
    facts.keyboardLayout = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0)));
    ReadCaretPoint(gui, facts);
    facts.windowClassName = ClassName(target);
    ReadSelection(target, facts.windowClassName, maxSelectionChars, facts);
    return facts;
}

}  // namespace wlk::hook
