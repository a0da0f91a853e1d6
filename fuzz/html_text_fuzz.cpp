// A copied web page of any content, read for its plain text: the text is never
// longer than the block and holds no NUL, and the same piece reads the same
// whether markers or the body tags enclose it.
//
// Input: the block's bytes.
#include <string>

#include "fuzz/fuzz_support.h"
#include "history/html_text.h"
#include "platform/text.h"

namespace wlk::fuzz {

void FuzzOne(const std::string& bytes) {
    const Text text = history::HtmlPlainText(bytes);
    Require(text.size() <= bytes.size() && text.find(u'\0') == Text::npos);

    const std::string lower = ToUtf8(ToLower(FromLatin1(bytes)));
    if (bytes.find('\0') != std::string::npos || bytes.find("<!--") != std::string::npos ||
        lower.find("</body") != std::string::npos)
        return;
    const Text marked = history::HtmlPlainText("<html><body><!--StartFragment-->" + bytes +
                                               "<!--EndFragment--></body></html>");
    Require(marked == history::HtmlPlainText("<body>" + bytes + "</body>"));
}

}  // namespace wlk::fuzz
