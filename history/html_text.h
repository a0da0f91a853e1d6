// The plain text of a copied piece of a web page, for the commands that need
// a history item's text (copying it, opening it as an address, searching it).
#pragma once

#include <string_view>

#include "platform/types.h"

namespace wlk::history {

// `block` is an "HTML Format" clipboard block (a header, then UTF-8 HTML).
// The copied part is the text between the fragment markers, else between the
// header's StartFragment and EndFragment offsets, else the page's body. Tags
// are dropped (scripts and styles with their content); br, p, div, li and tr
// break the line ("\r\n"), table cells are parted by a blank; runs of blanks
// and line breaks of the source read as one blank; &amp; &lt; &gt; &quot;
// &#39; &nbsp; and numeric references are decoded. Empty when the block holds
// no HTML.
Text HtmlPlainText(std::string_view block);

}  // namespace wlk::history
