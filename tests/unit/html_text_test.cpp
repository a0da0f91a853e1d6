// The plain text of copied web page pieces, as the history's item commands
// use it.
#include "history/html_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/text.h"

namespace wlk::test {
namespace {

using namespace std::string_literals;

// A block whose header gives the true offsets of `fragment`, as browsers write it.
std::string Block(const std::string& before, const std::string& fragment,
                  const std::string& after) {
    constexpr size_t kHeaderSize = 105;
    const size_t start = kHeaderSize + before.size(), end = start + fragment.size();
    char header[kHeaderSize + 1];
    std::snprintf(header, sizeof header,
                  "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
                  "EndFragment:%010zu\r\n",
                  kHeaderSize, end + after.size(), start, end);
    return header + before + fragment + after;
}

TEST(HtmlTextTest, TheCopiedPartIsReadAndHostileHtmlGivesNoMoreThanItHolds) {
    const std::string page = "<html><body>\r\n", end = "\r\n</body></html>";
    const std::pair<std::string, Text> cases[] = {
        // Between the markers, whatever the offsets say.
        {Block(page + "skipped<!--StartFragment-->",
               "<ul>\r\n  <li>one &amp; <b>two</b></li>\r\n  <li>&quot;3&quot;&nbsp;&lt;4&gt;</li>",
               "</ul><!--EndFragment-->skipped" + end),
         u"one & two\r\n\"3\"\u00A0<4>"},
        // No markers: the offsets.
        {Block(page + "before", "<div>caf\xC3\xA9 &#233;&#x263a; &#128512;</div>it&#39;s",
               "after" + end),
         u"caf\u00E9 \u00E9\u263A \U0001F600\r\nit's"},
        // Offsets past the end or into the header: the body, without scripts and styles.
        {"Version:0.9\r\nStartFragment:0000099999\r\nEndFragment:12\r\n<html><head><title>T"
         "</title><style>p{color:red}</style></head><body class=\"x\"><script>var a='<p>';"
         "</script>Text\r\n  with   spaces<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr>"
         "</table></body></html>",
         u"Text with spaces\r\na b\r\nc"},
        {"Version:0.9\r\nStartFragment:40\r\nEndFragment:30\r\n<p>a <br> b<br><br>c</p><p>d</p>",
         u"a\r\nb\r\n\r\nc\r\nd"},
        {"a<!-- <p>hidden</p> -->b<!-- never closed", u"ab"},
        {"<i>&#99999999999999999999; &#x110000; &#0; &#xD800;</i>", u"\uFFFD \uFFFD \uFFFD \uFFFD"},
        {"<i>&#; &bogus; AT&T & x &#65</i> 1 < 2", u"&#; &bogus; AT&T & x &#65 1 < 2"},
        {"a\xC0\x80!", u"a\uFFFD!"},  // an overlong NUL
        {"<b>\xFF\xC3</b>\xD0\x9F\xD1\x80\xD0\xB8", u"\uFFFD\uFFFD\u041F\u0440\u0438"},
        {"<p>a</p>\0<p>b</p>"s, u"a"},  // up to the terminator
    };
    for (const auto& [block, text] : cases) {
        SCOPED_TRACE(block);
        EXPECT_EQ(history::HtmlPlainText(block), text);
    }
}

}  // namespace
}  // namespace wlk::test
