#include "phrases/prompt_dialog_win32.h"

#include <algorithm>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "res/resource.h"

namespace wlk::phrases {

namespace {

using platform::win32::AsWide;
using platform::win32::FromWide;

// Only the start of a long window title goes into the caption.
constexpr int kTitleChars = 100;

// What the dialog shows and what it gives back; lives on Ask's stack.
struct PromptState {
    const Text& prompt;
    HWND target;
    Text answer;
};

Text Caption(HWND target) {
    wchar_t title[kTitleChars + 1] = {};
    const int length = target ? GetWindowTextW(target, title, kTitleChars + 1) : 0;
    Text caption = u"Wordlark";
    if (length > 0) caption += u" - [" + FromWide(title, static_cast<size_t>(length)) + u"]";
    return caption;
}

// The bottom-left corner of the target thread's caret on the screen.
std::optional<POINT> CaretPoint(HWND target) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(target, nullptr), &info)) return std::nullopt;
    if (!info.hwndCaret) return std::nullopt;
    // The rectangle is in the client coordinates of the window with the caret.
    POINT point = {info.rcCaret.left, info.rcCaret.bottom};
    if (!ClientToScreen(info.hwndCaret, &point)) return std::nullopt;
    return point;
}

// At the target's caret, else centred over the target; always on its monitor.
void Place(HWND dialog, HWND target) {
    RECT own = {};
    GetWindowRect(dialog, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    POINT at = {own.left, own.top};
    RECT over = {};
    if (const auto caret = CaretPoint(target)) {
        at = *caret;
    } else if (target && GetWindowRect(target, &over)) {
        at = {over.left + (over.right - over.left - width) / 2,
              over.top + (over.bottom - over.top - height) / 2};
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    const RECT wanted = {at.x, at.y, at.x + width, at.y + height};
    if (GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        at.x = std::max(work.left, std::min(at.x, work.right - width));
        at.y = std::max(work.top, std::min(at.y, work.bottom - height));
    }
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Runs `step` with this thread's input attached to the target's thread, which
// lets a background program take the foreground and set the focus.
template <typename Step>
void WithTargetInput(HWND target, Step step) {
    const DWORD own = GetCurrentThreadId();
    const DWORD other = target ? GetWindowThreadProcessId(target, nullptr) : 0;
    const bool attached = other && other != own && AttachThreadInput(own, other, TRUE);
    step();
    if (attached) AttachThreadInput(own, other, FALSE);
}

void OnInitDialog(HWND dialog, const PromptState& state) {
    SetWindowTextW(dialog, AsWide(Caption(state.target)));
    HWND edit = GetDlgItem(dialog, IDC_PROMPT_TEXT);
    SetWindowTextW(edit, AsWide(state.prompt));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    Place(dialog, state.target);
    WithTargetInput(state.target, [&] {
        SetForegroundWindow(dialog);
        SetActiveWindow(dialog);
        SetFocus(edit);
    });
}

Text EditText(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDC_PROMPT_TEXT);
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1);
    const int length = GetWindowTextW(edit, buffer.data(), static_cast<int>(buffer.size()));
    return FromWide(buffer.data(), static_cast<size_t>(std::max(0, length)));
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            OnInitDialog(dialog, *reinterpret_cast<PromptState*>(lParam));
            return FALSE;  // the focus is set already
        case WM_COMMAND:
            if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
            if (LOWORD(wParam) == IDOK && state) state->answer = EditText(dialog);
            EndDialog(dialog, LOWORD(wParam));  // Escape arrives as IDCANCEL
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

std::optional<Text> Win32PromptDialog::Ask(const Text& promptText, platform::WindowId target) {
    HWND targetWindow = reinterpret_cast<HWND>(target);
    PromptState state{promptText, targetWindow, Text()};
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROMPT), GetDesktopWindow(),
                        PromptProc, reinterpret_cast<LPARAM>(&state));
    if (targetWindow) WithTargetInput(targetWindow, [&] { SetFocus(targetWindow); });
    if (result != IDOK) return std::nullopt;
    return state.answer;
}

}  // namespace wlk::phrases
