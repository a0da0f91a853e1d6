// Macro expansion where it meets the real system: RTF bodies in a rich-edit
// control, dates in the system's locales, and the prompt dialog answered by
// another thread as a user would.
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>

#include "phrases/macro_table.h"
#include "phrases/prompt_dialog_win32.h"
#include "phrases/rtf_expansion_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "support/test_platform.h"

namespace wlk::test {
namespace {

using platform::win32::FromWide;

constexpr uint32_t kEnglish = 0x0409;
constexpr uint32_t kGerman = 0x0407;
constexpr int kPromptEdit = 1013;

class MacroExpansionWin32Test : public PlatformTest {};

struct RtfResult {
    Text rtf;
    int count;
    uint32_t caret;
    std::optional<uint16_t> layout;
};

RtfResult ExpandRtf(phrases::RtfExpander& expander, const char* body, const Text& selected) {
    RtfResult result{T(body), 0, 99, 0xFFFF};
    result.count = expander.ExpandMacrosRtf(result.rtf, selected, u"clip", &result.caret,
                                            &result.layout, kEnglish);
    return result;
}

TEST_F(MacroExpansionWin32Test, RtfBodiesExpandInTheRichEditControl) {
    const auto table = phrases::MacroTable::FromLayouts({0x04090409});
    phrases::Win32RtfExpander expander(table);

    // Names are found without regard to case; the caret marker counts once.
    const RtfResult got = ExpandRtf(expander,
                                    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Dear \\b "
                                    "%SELECTED_TEXT%\\b0 , %ACTIVATE_KL_EN%see %selected_text% "
                                    "and %CLIPBOARD_TEXT% at %CURSOR_POS%end}",
                                    u"Ann");
    EXPECT_EQ(std::tie(got.count, got.caret, got.layout),
              std::tuple(5, 3u, std::optional<uint16_t>(0x0409)));
    // The value takes the bold of the name it replaced, and only that.
    EXPECT_NE(got.rtf.find(u"\\f0 Dear \\b Ann\\b0 , see Ann and clip at end\\par"), Text::npos)
        << ToUtf8(got.rtf);
    EXPECT_EQ(got.rtf.find(u'%'), Text::npos) << ToUtf8(got.rtf);
    EXPECT_EQ(got.rtf.back(), u'}');
    EXPECT_EQ(ToUtf8(expander.PlainText(got.rtf)), "Dear Ann, see Ann and clip at end");

    // A paragraph break is one caret step; a value never expands into itself.
    const RtfResult broken = ExpandRtf(
        expander, "{\\rtf1\\ansi x%SELECTED_TEXT%%CURSOR_POS%ab\\par cd}", u"%SELECTED_TEXT%");
    EXPECT_EQ(std::tie(broken.count, broken.caret), std::tuple(2, 5u));
    EXPECT_EQ(ToUtf8(expander.PlainText(broken.rtf)), "x%SELECTED_TEXT%ab\r\ncd");

    const char* plain = "{\\rtf1\\ansi no %UNKNOWN% macro here}";
    const RtfResult untouched = ExpandRtf(expander, plain, u"Ann");
    EXPECT_EQ(std::tie(untouched.count, untouched.rtf, untouched.caret, untouched.layout),
              std::tuple(0, T(plain), 0u, std::optional<uint16_t>()));
}

TEST_F(MacroExpansionWin32Test, DatesAndNamesInTheSystemsLocale) {
    const platform::LocalTime tuesday{2024, 3, 2, 5, 9, 7, 5, 0};
    EXPECT_EQ(ToUtf8(P().locale.LongDate(kGerman, tuesday)), "Dienstag, 5. M\xC3\xA4rz 2024");
    EXPECT_EQ(ToUtf8(P().locale.Info(kGerman, platform::kLocaleMonthName1 + 2, 260)),
              "M\xC3\xA4rz");
}

// What the answering thread saw of the dialog.
struct Seen {
    Text caption;
    Text field;
    bool fieldHasFocus = false;
    RECT rect = {};
};

Text WindowText(HWND window) {
    wchar_t buffer[512] = {};
    const int length = GetWindowTextW(window, buffer, 512);
    return FromWide(buffer, static_cast<size_t>(std::max(0, length)));
}

// The prompt dialog this process shows, once it is up.
HWND FindPromptDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (process != GetCurrentProcessId() || lstrcmpW(className, L"#32770") != 0 ||
                !IsWindowVisible(window) || WindowText(window).rfind(u"Wordlark", 0) != 0) {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Answers the next prompt dialog from another thread with `answer`, after
// noting what it shows; the dialog is always ended so the test never hangs.
std::thread AnswerPrompt(DWORD dialogThread, Seen& seen,
                         std::function<void(HWND dialog, HWND edit)> answer) {
    return std::thread([dialogThread, &seen, answer] {
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindPromptDialog()) != nullptr; }, 30000)) return;
        HWND edit = GetDlgItem(dialog, kPromptEdit);
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        seen.fieldHasFocus = WaitUntil(
            [&] { return GetGUIThreadInfo(dialogThread, &info) && info.hwndFocus == edit; });
        seen.caption = WindowText(dialog);
        seen.field = WindowText(edit);
        GetWindowRect(dialog, &seen.rect);
        answer(dialog, edit);
    });
}

TEST_F(MacroExpansionWin32Test, PromptDialogAnsweredAndCancelled) {
    phrases::Win32PromptDialog prompt;
    const DWORD self = GetCurrentThreadId();
    std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)> window(
        CreateWindowExW(0, L"STATIC", L"Notes - draft", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120,
                        500, 300, nullptr, nullptr, nullptr, nullptr),
        DestroyWindow);
    const HWND target = window.get();
    ASSERT_TRUE(target);
    const auto id = reinterpret_cast<platform::WindowId>(target);

    // OK with a new text, the dialog placed at the target's caret.
    ASSERT_TRUE(CreateCaret(target, nullptr, 2, 16));
    ASSERT_TRUE(SetCaretPos(30, 40));
    POINT caret = {30, 56};
    ClientToScreen(target, &caret);
    Seen seen;
    std::thread answerer = AnswerPrompt(self, seen, [](HWND dialog, HWND edit) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Dear Bob"));
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    const std::optional<Text> answer = prompt.Ask(u"Dear Sir", id);
    answerer.join();
    DestroyCaret();
    EXPECT_EQ(answer, std::optional<Text>(u"Dear Bob"));
    EXPECT_EQ(std::tie(seen.caption, seen.field, seen.fieldHasFocus),
              std::tuple(Text(u"Wordlark - [Notes - draft]"), Text(u"Dear Sir"), true));
    EXPECT_EQ(std::pair(seen.rect.left, seen.rect.top), std::pair(caret.x, caret.y));
    EXPECT_EQ(GetFocus(), target);

    // Escape gives nothing.
    SetFocus(nullptr);
    Seen cancelled;
    answerer = AnswerPrompt(self, cancelled,
                            [](HWND, HWND edit) { PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(prompt.Ask(u"", id), std::nullopt);
    answerer.join();
    EXPECT_EQ(std::tie(cancelled.caption, cancelled.field, cancelled.fieldHasFocus),
              std::tuple(Text(u"Wordlark - [Notes - draft]"), Text(), true));
    EXPECT_EQ(GetFocus(), target);
}

}  // namespace
}  // namespace wlk::test
