// The history pane where it meets the real system: RTF items changed inside a
// rich-edit control.
#include <ostream>
#include <string>

#include "pane/rtf_editor_win32.h"
#include "platform/win32/rich_edit.h"
#include "platform/win32/windows_api.h"
#include "support/test_platform.h"
// After <windows.h>.
#include <richedit.h>

namespace wlk::test {
namespace {

using pane::CaseChange;

class PaneWin32Test : public PlatformTest {};

// What a rich-edit control makes of an RTF: its text, paragraph marks as
// "\r", and a 'b' for each bold character, a '.' for each other.
struct Shown {
    std::string text;
    std::string bold;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << ::testing::PrintToString(shown.text) << " bold " << shown.bold;
}

Shown Show(const Text& rtf) {
    platform::win32::HiddenRichEdit edit;
    HWND control = edit.Get();
    if (!control || !platform::win32::LoadRtf(control, rtf)) return {"<refused>", ""};
    const Text text = platform::win32::TextRange(control, 0, platform::win32::TextLength(control));
    Shown shown{ToUtf8(text), ""};
    for (LONG at = 0; at < static_cast<LONG>(text.size()); ++at) {
        CHARRANGE range = {at, at + 1};
        SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W format = {};
        format.cbSize = sizeof(format);
        SendMessageW(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        shown.bold += format.dwEffects & CFE_BOLD ? 'b' : '.';
    }
    return shown;
}

TEST_F(PaneWin32Test, RtfCaseChangesKeepTheFormatOfEveryRun) {
    pane::Win32RtfEditor editor;
    Text rtf = T("{\\rtf1\\ansi caf\\'e9\\par\\pard\\qc hello {\\b bold} w\\'f6rld\\par}");
    const std::string bold = "...........bbbb......";
    ASSERT_TRUE(editor.ChangeCase(rtf, CaseChange::Upper));
    EXPECT_EQ(Show(rtf), (Shown{"CAF\xC3\x89\rHELLO BOLD W\xC3\x96RLD", bold}));
    // The paragraph mark between two runs of one format is no part of
    // either: the second paragraph stays centred, and only that one.
    const size_t centred = rtf.find(u"\\qc");
    EXPECT_TRUE(centred != Text::npos && centred > rtf.find(u"CAF")) << ToUtf8(rtf);
    // Nothing to change: the item stays as it was, byte for byte.
    const Text upper = T("{\\rtf1\\ansi ONE {\\b 2}\\par}");
    Text same = upper;
    ASSERT_TRUE(editor.ChangeCase(same, CaseChange::Upper));
    EXPECT_EQ(same, upper);

    ASSERT_TRUE(editor.ChangeCase(rtf, CaseChange::Lower));
    EXPECT_EQ(Show(rtf), (Shown{"caf\xC3\xA9\rhello bold w\xC3\xB6rld", bold}));
}

TEST_F(PaneWin32Test, RtfTrimAndJoinCountWhatTheUserSeesGo) {
    pane::Win32RtfEditor editor;
    size_t count = 99;
    // The control takes the last \par as its own final mark, which stays and
    // is not counted; two paragraph marks and two blanks go at the start, a
    // blank and a paragraph mark at the end.
    Text rtf = T("{\\rtf1\\ansi\\par\\par   a {\\b b} c \\par \\par}");
    ASSERT_TRUE(editor.Trim(rtf, count));
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(Show(rtf), (Shown{"a b c", "..b.."}));

    Text blank = T("{\\rtf1\\ansi\\par  \\par}");
    ASSERT_TRUE(editor.Trim(blank, count));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(Show(blank), (Shown{"", ""}));

    const Text tidy = T("{\\rtf1\\ansi {\\b tidy}\\par}");
    rtf = tidy;
    ASSERT_TRUE(editor.Trim(rtf, count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(rtf, tidy);

    Text lines = T("{\\rtf1\\ansi one\\par {\\b two}\\par three\\par}");
    ASSERT_TRUE(editor.Join(lines, count));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(Show(lines), (Shown{"one two three", "....bbb......"}));

    // Not RTF: refused by a control that still holds the last item.
    const Text junk = u"no {\\b RTF}\r\n here ";
    rtf = junk;
    EXPECT_FALSE(editor.ChangeCase(rtf, CaseChange::Upper));
    EXPECT_FALSE(editor.Trim(rtf, count));
    EXPECT_FALSE(editor.Join(rtf, count));
    EXPECT_EQ(rtf, junk);
}

}  // namespace
}  // namespace wlk::test
