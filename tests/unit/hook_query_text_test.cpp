// The query text that the hook component writes, read back by the program's
// own reader: every fact must arrive as it was gathered, and the text must
// never outgrow the area it is written into.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/query_reader.h"
#include "hook/query_text.h"

namespace wlk::test {
namespace {

using bridge::TargetContext;
using hook::BuildQueryText;
using hook::QueryFacts;

constexpr size_t kRoomy = 1 << 20;

TargetContext RoundTrip(const QueryFacts& facts, size_t limit = kRoomy) {
    const std::string text = BuildQueryText(facts, limit);
    EXPECT_LT(text.size(), limit);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    TargetContext context;
    EXPECT_TRUE(bridge::ParseQuery(text, context)) << text;
    return context;
}

intptr_t Signed(platform::WindowId handle) {
    return static_cast<intptr_t>(handle);
}

TEST(HookQueryTextTest, EveryFactReachesTheReaderUnchangedAndTheSelectionMended) {
    QueryFacts facts{.appPath = u"C:\\Program Files\\Редактор <1> & 'q'\\\"x\".exe",
                     .windowClassName = u"RICHEDIT50W",
                     .window = -2147483647 - 1,
                     .active = 0x10020,
                     .focus = -5,
                     .capture = 7,
                     .menuOwner = 2147483647,
                     .caret = -1,
                     .keyboardLayout = 0x04090419,
                     .pointX = -30,
                     .pointY = 1200,
                     .selState = 2,
                     .selText = u"a<b>&c\"d'e ж 中 \U0001F600 &amp;"};
    const TargetContext c = RoundTrip(facts);
    EXPECT_EQ(c.AppPath, facts.appPath);
    EXPECT_EQ(c.WindowClassName, u"RICHEDIT50W");
    const auto& g = c.guiThread;
    EXPECT_EQ((std::vector<intptr_t>{Signed(c.HWND), Signed(g.HWND_Active), Signed(g.HWND_Focus),
                                     Signed(g.HWND_Capture), Signed(g.HWND_MenuOwner),
                                     Signed(g.HWND_Caret), c.POINT_X, c.POINT_Y}),
              (std::vector<intptr_t>{-2147483647 - 1, 0x10020, -5, 7, 2147483647, -1, -30, 1200}));
    EXPECT_EQ(c.HKL, 0x04090419u);
    EXPECT_EQ(c.StateSelText, 2);
    EXPECT_EQ(c.SelText, facts.selText);

    // A layout whose halves differ only in order, and one with a zero half.
    for (uint32_t layout : {0x04190409u, 0x00000409u}) {
        facts.keyboardLayout = layout;
        EXPECT_EQ(RoundTrip(facts).HKL, layout) << std::hex << layout;
    }

    // The selection sent, its state, and the selection read: white space
    // kept, broken text mended.
    const std::tuple<std::u16string, int32_t, std::u16string> selections[] = {
        {u"  two  blanks\r\n\tend ", 2, u"  two  blanks\r\n\tend "},
        {u"\r\n\t \v\f", 2, u"\r\n\t \v\f"},
        {u"", 1, u""},
        {std::u16string(u"lone \xD800 half"), 2, u"lone \xFFFD half"},
        {std::u16string(u"zero\0byte", 9), 2, u"zerobyte"},
    };
    for (const auto& [sent, state, read] : selections) {
        facts.selState = state;
        facts.selText = sent;
        const TargetContext context = RoundTrip(facts);
        EXPECT_EQ(std::pair(context.SelText, context.StateSelText), std::pair(read, state));
    }
}

TEST(HookQueryTextTest, OverlongSelectionIsCutAtACharacterWithinTheLimit) {
    QueryFacts facts;
    facts.appPath = u"C:\\t.exe";
    facts.selState = 2;
    // The smallest limit: the other facts, an empty selection and the zero byte.
    const size_t fixed = BuildQueryText(facts, kRoomy).size() + 1;
    // Bytes as written: 1, 2, 3, 4, "&lt;" 4, 1, an inner blank 1, "&quot;" 6.
    facts.selText = u"aж中😀<b \"";
    const std::u16string a = u"a", zh = u"aж", zhong = zh + u"中", smile = zhong + u"😀",
                         lt = smile + u"<", b = lt + u"b";
    // What each limit above the smallest leaves of the selection. A blank
    // left last goes as a reference, or not at all when that does not fit.
    const std::u16string kept[] = {
        u"",   a,     a,  zh, zh, zh, zhong, zhong, zhong,    zhong,    smile,        smile,
        smile, smile, lt, b,  b,  b,  b,     b,     b + u" ", b + u" ", facts.selText};
    for (size_t extra = 0; extra < std::size(kept); ++extra) {
        const TargetContext c = RoundTrip(facts, fixed + extra);
        EXPECT_EQ(c.SelText, kept[extra]) << "limit " << fixed << " + " << extra;
        EXPECT_EQ(c.StateSelText, 2);
        EXPECT_EQ(c.AppPath, u"C:\\t.exe");
    }
    // White space alone travels in a section of 12 bytes around it.
    facts.selText = u"\n \n";
    EXPECT_EQ(RoundTrip(facts, fixed + 12).SelText, u"");
    EXPECT_EQ(RoundTrip(facts, fixed + 14).SelText, u"\n ");
    EXPECT_EQ(RoundTrip(facts, fixed + 15).SelText, u"\n \n");
    EXPECT_EQ(BuildQueryText(facts, fixed - 1), "") << "no room for the other facts";
}

}  // namespace
}  // namespace wlk::test
