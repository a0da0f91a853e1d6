// A copied web page of any content, read for its plain text: the text is never
// longer than the block, holds no NUL and no broken surrogate pair, and the
// same piece reads the same whether markers or the body tags enclose it.
//
// Input: the block's bytes.
#include <string>

#include "bridge/html_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/text.h"

namespace wlk::fuzz {

namespace {

void RequireWellFormed(const Text& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        Require(c != 0);
        if (c >= 0xD800 && c <= 0xDBFF) {
            Require(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF);
            ++i;
        } else {
            Require(c < 0xDC00 || c > 0xDFFF);
        }
    }
}

}  // namespace

void FuzzOne(const std::string& bytes) {
    const Text text = bridge::HtmlPlainText(bytes);
    Require(text.size() <= bytes.size());
    RequireWellFormed(text);

    const std::string lower = ToUtf8(ToLower(FromLatin1(bytes)));
    if (bytes.find('\0') != std::string::npos || bytes.find("<!--") != std::string::npos ||
        lower.find("</body") != std::string::npos)
        return;
    const Text marked = bridge::HtmlPlainText("<html><body><!--StartFragment-->" + bytes +
                                              "<!--EndFragment--></body></html>");
    Require(marked == bridge::HtmlPlainText("<body>" + bytes + "</body>"));
}

}  // namespace wlk::fuzz
