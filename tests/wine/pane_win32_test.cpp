// The history pane where it meets the real system: RTF items changed inside a
// rich-edit control, and bitmap items of every depth opened as BMP files.
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "bridge/history_open.h"
#include "history/ch_item.h"
#include "pane/rtf_editor_win32.h"
#include "platform/win32/rich_edit.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_bitmap.h"
#include "platform/win32/windows_api.h"
#include "support/test_platform.h"
// After <windows.h>.
#include <richedit.h>

namespace wlk::test {
namespace {

using pane::CaseChange;
using platform::win32::AsWide;

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

// A bitmap as the history holds one, and what the BMP file written for it
// loads back as.
struct Loaded {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<uint32_t> pixels;
};

Loaded LoadBmp(const Text& path) {
    auto handle = static_cast<HBITMAP>(LoadImageW(nullptr, AsWide(path), IMAGE_BITMAP, 0, 0,
                                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    auto bitmap = platform::win32::AdoptBitmap(handle);
    DIBSECTION section = {};
    if (!bitmap || GetObjectW(handle, sizeof(section), &section) != sizeof(section)) return {};
    return {section.dsBmih.biWidth, section.dsBmih.biHeight, section.dsBmih.biBitCount,
            bitmap->Pixels()};
}

constexpr int kWidth = 7;  // a row of 7 pixels needs padding at most depths
constexpr int kHeight = 3;

// A DIB section of `depth` bits with distinct colours in its table, and rows
// of bytes that differ from row to row.
HBITMAP PatternSection(int depth) {
    std::vector<uint8_t> buffer(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(buffer.data());
    BITMAPINFOHEADER& header = info->bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = kWidth;
    header.biHeight = kHeight;
    header.biPlanes = 1;
    header.biBitCount = WORD(depth);
    for (int i = 0; depth <= 8 && i < 1 << depth; ++i)
        info->bmiColors[i] = {BYTE(i * 7), BYTE(255 - i), BYTE(i * 13), 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section) return nullptr;
    const size_t stride = (kWidth * depth + 31) / 32 * 4;
    for (size_t i = 0; i < stride * kHeight; ++i)
        static_cast<uint8_t*>(bits)[i] = BYTE(i * 37 + 11);
    GdiFlush();
    return section;
}

// A device bitmap with the section's picture, as the clipboard hands them
// out: the screen's depth, or one bit.
HBITMAP DeviceCopy(HBITMAP section, bool monochrome) {
    HDC screen = GetDC(nullptr);
    HBITMAP copy = monochrome ? CreateBitmap(kWidth, kHeight, 1, 1, nullptr)
                              : CreateCompatibleBitmap(screen, kWidth, kHeight);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, section);
    HGDIOBJ oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, kWidth, kHeight, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return copy;
}

TEST_F(PaneWin32Test, BitmapItemsOfEveryDepthOpenAsTheBmpFilesTheyWere) {
    struct Case {
        int depth;
        bool device;    // a device bitmap copied from the section, not the section
        int fileDepth;  // the bitmap's own, or 32 for one the format has no other form for
    };
    const int screen = [] {
        HDC dc = GetDC(nullptr);
        const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
        ReleaseDC(nullptr, dc);
        return bits;
    }();
    const Case cases[] = {{1, false, 1},   {4, false, 4},
                          {8, false, 8},   {16, false, 16},
                          {24, false, 24}, {32, false, 32},
                          {1, true, 1},    {24, true, screen == 24 || screen == 16 ? screen : 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.depth << (c.device ? " device" : " section"));
        HBITMAP section = PatternSection(c.depth);
        ASSERT_NE(section, nullptr);
        history::CCHItem item(history::CHT_BITMAP);
        if (c.device) {
            item.SetBitmap(platform::win32::AdoptBitmap(DeviceCopy(section, c.depth == 1)));
            DeleteObject(section);
        } else {
            item.SetBitmap(platform::win32::AdoptBitmap(section));
        }
        const std::vector<uint32_t> pixels = item.Bitmap()->Pixels();
        ASSERT_EQ(pixels.size(), size_t(kWidth * kHeight));

        const auto bytes = bridge::TemporaryFileBytes(item);
        ASSERT_TRUE(bytes);
        const size_t table = c.fileDepth <= 8 ? 4u << c.fileDepth : c.fileDepth == 24 ? 0 : 12;
        const size_t stride = (kWidth * c.fileDepth + 31) / 32 * 4;
        EXPECT_EQ(bytes->size(), 14 + 40 + table + stride * kHeight);
        const Text path = Path("item.bmp");
        WriteBytes(path, *bytes);
        const Loaded loaded = LoadBmp(path);
        EXPECT_EQ(std::tie(loaded.width, loaded.height, loaded.bitsPerPixel),
                  std::tuple(kWidth, kHeight, c.fileDepth));
        EXPECT_EQ(loaded.pixels, pixels);
    }
}

}  // namespace
}  // namespace wlk::test
