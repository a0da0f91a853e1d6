#include "pane/pane_texts.h"

#include <cstring>
#include <string_view>

#include "history/html_text.h"
#include "history/rtf_text.h"
#include "platform/text.h"

namespace wlk::pane {

using history::CCHItem;
using history::ChType;

namespace {

bool HasOwnText(ChType type) {
    return type == history::CHT_TEXT_ANSI || type == history::CHT_TEXT_UNICODE ||
           type == history::CHT_RTF || type == history::CHT_HTML;
}

// RTF is NUL-terminated 8-bit text; the block may hold more after the NUL.
std::string_view AnsiBytes(const CCHItem& item) {
    const auto* bytes = reinterpret_cast<const char*>(item.Data());
    return bytes ? std::string_view(bytes, strnlen(bytes, item.Size())) : std::string_view();
}

Text OwnText(const CCHItem& item) {
    switch (item.Type()) {
        case history::CHT_TEXT_ANSI:
        case history::CHT_TEXT_UNICODE: return item.PlainText();
        case history::CHT_RTF: return history::PlainTextFromRtf(AnsiBytes(item));
        case history::CHT_HTML:
            if (!item.Data()) return Text();
            return history::HtmlPlainText(
                std::string_view(reinterpret_cast<const char*>(item.Data()), item.Size()));
        default: return Text();
    }
}

bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// The first line holding more than blanks; empty when there is none.
std::u16string_view FirstLine(std::u16string_view text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        bool blank = true;
        for (; end < text.size() && !IsLineBreak(text[end]); ++end)
            blank = blank && IsBlank(text[end]);
        if (!blank) return text.substr(start, end - start);
        start = end + 1;
    }
    return {};
}

// Cut without leaving half of a surrogate pair at the end.
void CutTo(Text& text, size_t chars) {
    if (text.size() <= chars) return;
    text.resize(chars);
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
}

bool RefusedInFileName(char16_t c) {
    return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
}

// Windows drops trailing dots and blanks of a name, so the name shown would not be the one saved.
void DropTrailingDotsAndBlanks(Text& name) {
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.pop_back();
}

void ReplaceAll(Text& text, std::u16string_view from, std::u16string_view to) {
    Text out;
    size_t at = 0;
    for (size_t found; (found = text.find(from, at)) != Text::npos; at = found + from.size())
        out.append(text, at, found - at).append(to);
    text = out.append(text, at);
}

}  // namespace

Text TypeName(ChType type) {
    switch (type) {
        case history::CHT_TEXT_ANSI: return u"Text (ANSI)";
        case history::CHT_TEXT_UNICODE: return u"Text (Unicode)";
        case history::CHT_RTF: return u"Rich Text Format";
        case history::CHT_HTML: return u"HTML Format";
        case history::CHT_QUIRENOTE: return u"Quirenote";
        case history::CHT_BITMAP: return u"Bitmap";
    }
    return Text();
}

Text ItemText(const CCHItem& item) {
    if (HasOwnText(item.Type())) return OwnText(item);
    // A picture or document copied with formatted text beside it (a drawing's
    // labels, a Quirenote page) is read, searched and opened by that text.
    for (const auto& format : item.formats)
        if (format && HasOwnText(format->Type())) return OwnText(*format);
    return Text();
}

Text RowText(const CCHItem& item) {
    Text row(FirstLine(ItemText(item)));
    if (!row.empty()) {
        CutTo(row, kRowChars);
        return row;
    }
    const platform::Bitmap* bitmap = item.Bitmap();
    if (item.Type() == history::CHT_BITMAP && bitmap)
        return TypeName(item.Type()) + u" " + ToText(bitmap->Width()) + u"\u00D7" +
               ToText(bitmap->Height());
    return TypeName(item.Type());
}

Text ItemTooltip(const CCHItem& item, const TooltipLabels& labels, const Text& formattedTime) {
    Text tip = labels.dataFormat + u": " + TypeName(item.Type());
    if (!item.formats.empty()) {
        tip += u"\r\n" + labels.formats + u": ";
        for (size_t i = 0; i < item.formats.size(); ++i) {
            if (i) tip += u", ";
            if (item.formats[i]) tip += TypeName(item.formats[i]->Type());
        }
    }
    if (HasOwnText(item.Type()))
        tip += u"\r\n" + labels.textLength + u": " + ToText(ItemText(item).size());
    tip += u"\r\n" + labels.time + u": " + formattedTime;
    if (!item.sourceUrl.empty()) tip += u"\r\n\tURL: " + item.sourceUrl;
    return tip;
}

Text UrlFromText(const Text& text) {
    Text url = text;
    for (std::u16string_view brk : {u"\r\n", u"\r", u"\n", u"\t"}) ReplaceAll(url, brk, u" ");
    // One pass each, as the address has always been made: five blanks leave two.
    ReplaceAll(url, u"   ", u" ");
    ReplaceAll(url, u"  ", u" ");
    for (std::u16string_view scheme :
         {u"http://", u"https://", u"ftp://", u"mailto:", u"file:///", u"file://"})
        if (StartsWithIgnoreCase(url, scheme)) return url;
    return u"http://" + url;
}

Text SuggestedFileName(const CCHItem& item) {
    switch (item.Type()) {
        case history::CHT_QUIRENOTE: return u"Quirenote_Document.qnd";
        case history::CHT_TEXT_ANSI:
        case history::CHT_TEXT_UNICODE:
        case history::CHT_RTF: break;
        default: return Text();
    }
    // A tab reads as a blank; any other character Windows refuses in a name
    // becomes "_", so that the words around it stay apart.
    const Text text = OwnText(item);
    Text name;
    for (char16_t c : FirstLine(text)) {
        if (c == u'\t') c = u' ';
        if (RefusedInFileName(c)) c = u'_';
        if (c == u' ' && (name.empty() || name.back() == u' ')) continue;
        name += c;
    }
    DropTrailingDotsAndBlanks(name);
    CutTo(name, kFileNameChars);
    DropTrailingDotsAndBlanks(name);
    return name;
}

SaveFilter SaveFilterFor(ChType type) {
    switch (type) {
        case history::CHT_TEXT_ANSI:
        case history::CHT_TEXT_UNICODE:
            return {u"Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", u".txt"};
        case history::CHT_RTF:
            return {u"Formatted Text Files (*.rtf)|*.rtf|All Files (*.*)|*.*||", u".rtf"};
        case history::CHT_QUIRENOTE:
            return {u"Quirenote Documents (*.qnd)|*.qnd|All Files (*.*)|*.*||", u".qnd"};
        case history::CHT_BITMAP:
            return {u"Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*||", u".bmp"};
        case history::CHT_HTML: return {u"HTML files (*.htm,*.html)|*.htm", u".htm"};
    }
    return {};
}

}  // namespace wlk::pane
