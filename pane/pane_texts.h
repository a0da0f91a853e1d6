// The texts the history pane shows for an item: its row, its type's name, its
// tooltip, the file name a save suggests, and the address Open As URL opens.
#pragma once

#include <cstddef>

#include "history/ch_item.h"
#include "platform/types.h"

namespace wlk::pane {

// "Text (ANSI)", "Text (Unicode)", "Rich Text Format", "HTML Format",
// "Quirenote", "Bitmap".
Text TypeName(history::ChType type);

// The item's text as the commands and the search see it: the text of text
// items, the plain text of RTF and HTML; empty for others.
Text ItemText(const history::CCHItem& item);

// What a row shows: the first line of the text, at most kRowChars characters,
// or for items without text the type's name (a bitmap with its size).
inline constexpr size_t kRowChars = 200;
Text RowText(const history::CCHItem& item);

// The tooltip's labels, from the interface language.
struct TooltipLabels {
    Text dataFormat;  // "Data Format"
    Text formats;     // "Formats"
    Text textLength;  // "Text Length"
    Text time;        // "Time"
};
// One "label: value" line each, "\r\n" between them: the primary type, the
// further formats (", " between), the text length (text items only), the
// item's time (`formattedTime`); then "\tURL: " and the source URL when the
// item has one.
Text ItemTooltip(const history::CCHItem& item, const TooltipLabels& labels,
                 const Text& formattedTime);

// The address Open As URL opens for a row's text: line breaks and tabs become
// blanks, runs of three and two blanks one; "http://" goes in front unless the
// text begins with "http://", "https://", "ftp://", "mailto:", "file:///" or
// "file://" (letter case ignored).
Text UrlFromText(const Text& text);

// The file name a save suggests: "Quirenote_Document.qnd" for Quirenote data;
// for text and RTF the plain text made a file name of at most
// kFileNameChars characters; else empty.
inline constexpr size_t kFileNameChars = 40;
Text SuggestedFileName(const history::CCHItem& item);

// The save dialog's filter ("|" between parts) and default extension.
struct SaveFilter {
    Text filter;
    Text extension;
};
SaveFilter SaveFilterFor(history::ChType type);

}  // namespace wlk::pane
