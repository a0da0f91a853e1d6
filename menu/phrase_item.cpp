#include "menu/phrase_item.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "language/interface_strings.h"
#include "menu/menu_texts.h"
#include "phrases/macro_expansion.h"
#include "phrases/macro_table.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::menu {

namespace {

using phrases::CommandDataType;

constexpr std::u16string_view kMacroSelectedText = u"%SELECTED_TEXT%";
constexpr std::u16string_view kMacroClipboardText = u"%CLIPBOARD_TEXT%";
constexpr std::u16string_view kLayoutMacroPrefix = u"%ACTIVATE_KL_";
constexpr char16_t kLineMark = u'\u00B6';

constexpr uint32_t kStrInsertPlain = 162;
constexpr uint32_t kStrInsertFormatted = 163;
constexpr uint32_t kStrExecute = 164;
constexpr uint32_t kStrActivateLayout = 178;
constexpr uint32_t kStrChars = 259;

// The body as the phrase would insert it now, with the place of its caret.
struct Preview {
    bool expanded = false;  // false: an RTF body without an expander
    int replaced = 0;
    Text withMarker;
    size_t marker = Text::npos;  // where the first caret marker is in withMarker
    std::optional<uint16_t> layout;
};

// A copy of the body with each %CURSOR_POS% as kCaretMarker, made with room
// for one marker: one caret, the common case, costs no second copy.
Text MarkedBody(const Text& command) {
    const std::u16string_view marker(kCaretMarker);
    const std::u16string_view cursor(phrases::kMacroCursorPos);
    Text body;
    body.reserve(command.size() + marker.size());
    body = command;
    for (size_t at = body.find(cursor); at != Text::npos;
         at = body.find(cursor, at + marker.size()))
        body.replace(at, cursor.size(), marker);
    return body;
}

Preview Expand(const phrases::CWLKCommand& phrase, phrases::MacroValues& values,
               phrases::RtfExpander* rtf) {
    Preview preview;
    if (phrase.dataType == CommandDataType::RTF && !rtf) return preview;
    Text body = MarkedBody(phrase.command);
    if (phrase.dataType == CommandDataType::RTF) {
        preview.replaced = rtf->ExpandMacrosRtf(body, values.Selected(), values.Clipboard(),
                                                nullptr, &preview.layout, values.Lcid());
        body = rtf->PlainText(body);
    } else {
        preview.replaced = phrases::ExpandMacros(phrases::MacroTable::Instance(), body, values,
                                                 nullptr, &preview.layout);
    }
    preview.expanded = true;
    preview.marker = body.find(kCaretMarker);
    preview.withMarker = std::move(body);
    return preview;
}

bool StaysInLine(char16_t c) {
    return c != u'\r' && c != u'\n' && c != u'\t';
}

// Line breaks become "¶" and tabs two spaces; `caret` follows its character.
// Runs of other characters, most of a body, are copied whole.
Text OneLine(const Text& text, int& caret) {
    Text line;
    line.reserve(text.size() + static_cast<size_t>(std::count(text.begin(), text.end(), u'\t')));
    const auto at = [](size_t i) { return static_cast<int>(i); };
    int moved = -1;
    for (size_t i = 0; i < text.size();) {
        size_t end = i;
        while (end < text.size() && StaysInLine(text[end])) ++end;
        if (caret >= at(i) && caret < at(end)) moved = at(line.size()) + caret - at(i);
        line.append(text, i, end - i);
        if (end == text.size()) break;
        if (caret == at(end)) moved = at(line.size());
        i = end + 1;
        if (text[end] == u'\t') {
            line.append(2, u' ');
            continue;
        }
        if (text[end] == u'\r' && i < text.size() && text[i] == u'\n') {
            if (caret == at(i)) moved = at(line.size());
            ++i;
        }
        line += kLineMark;
    }
    if (caret == at(text.size())) moved = at(line.size());
    caret = moved;
    return line;
}

Text Bracketed(const Text& text) {
    return u" [" + ShortenText(text, kPhraseLabelChars) + u"]";
}

// Replaces each occurrence of `from` by the no longer `to`, left to right, as
// Replaced would, without a copy: the text only shrinks, so the kept pieces
// move left in place. `first` is where the first occurrence is, or npos.
void ShrinkAll(Text& text, size_t first, std::u16string_view from, std::u16string_view to) {
    size_t at = first;
    size_t out = at;
    while (at != Text::npos) {
        std::copy(to.begin(), to.end(), text.begin() + static_cast<std::ptrdiff_t>(out));
        out += to.size();
        const size_t kept = at + from.size();  // what follows this occurrence
        at = text.find(from, kept);
        const size_t end = at == Text::npos ? text.size() : at;
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(kept),
                  text.begin() + static_cast<std::ptrdiff_t>(end),
                  text.begin() + static_cast<std::ptrdiff_t>(out));
        out += end - kept;
        if (at == Text::npos) text.resize(out);
    }
}

// The label on one line before it is shortened; `caret` gets the caret's
// place in it, or -1.
Text Label(const phrases::CWLKCommand& phrase, const MenuRequest& request, const Preview& preview,
           int& caret) {
    caret = -1;
    if (preview.expanded) {
        if (preview.marker != Text::npos) caret = static_cast<int>(preview.marker);
        if (phrase.dataType == CommandDataType::RTF) {
            Text label = Replaced(preview.withMarker, kCaretMarker, u" ");
            return OneLine(ShortenText(std::move(label), kPhraseLabelChars), caret);
        }
        if (phrase.dataType == CommandDataType::TEXT && preview.replaced > 0) {
            // The markers hold no line break or tab: they pass OneLine as they
            // are and become blanks after it, which saves a copy.
            Text label = OneLine(preview.withMarker, caret);
            ShrinkAll(label, caret < 0 ? Text::npos : static_cast<size_t>(caret), kCaretMarker,
                      u" ");
            return label;
        }
    }
    Text label = phrase.name;
    if (phrase.command.find(kMacroSelectedText) != Text::npos) label += Bracketed(request.selText);
    if (phrase.command.find(kMacroClipboardText) != Text::npos)
        label += Bracketed(request.clipboardText);
    return OneLine(label, caret);
}

void ReplaceIfThere(Text& text, std::u16string_view from, std::u16string_view to) {
    if (text.find(from) != Text::npos) text = Replaced(text, from, to);
}

// The body as the tooltip shows it: without the caret's marker, and with the
// selection and the clipboard in those of their macros the expansion left.
Text Shown(Text shown, size_t marker, const MenuRequest& request) {
    ShrinkAll(shown, marker, kCaretMarker, u"");
    if (shown.find(u'%') == Text::npos) return shown;  // no macro is left
    ReplaceIfThere(shown, kMacroSelectedText, request.selText);
    ReplaceIfThere(shown, kMacroClipboardText, request.clipboardText);
    return shown;
}

Text PhraseTooltip(const MenuItemData& item) {
    const uint32_t typeString = item.dataType == CommandDataType::RTF    ? kStrInsertFormatted
                                : item.dataType == CommandDataType::EXEC ? kStrExecute
                                                                         : kStrInsertPlain;
    Text tip = language::GetString(typeString) + u" \u00BB " + item.label;
    if (!item.preview.empty()) {
        if (item.dataType != CommandDataType::EXEC)
            tip += u"\n" + language::GetString(kStrChars) + u": " +
                   ToText(static_cast<long long>(item.preview.size()));
        tip += u"\r\n\r\n" + TooltipText(item.preview);
    }
    // The tag is "+" and the code of the layout the phrase switches to.
    if (!item.tag.empty())
        tip += u"   " + language::GetString(kStrActivateLayout) + u" " + item.tag.substr(1) +
               u"\r\n+ ";
    return tip;
}

}  // namespace

Text PhraseTitle(const phrases::CWLKCommand& phrase) {
    return CutTitle(phrase.name, kPhraseLabelChars);
}

Text LayoutTag(uint16_t language) {
    for (const auto& layout : phrases::MacroTable::Instance().Layouts()) {
        if (layout.language != language) continue;
        const size_t codeChars = layout.name.size() - kLayoutMacroPrefix.size() - 1;
        return u"+" + ToUpper(layout.name.substr(kLayoutMacroPrefix.size(), codeChars));
    }
    return Text();
}

int PhraseIconKey(const phrases::CWLKCommand& phrase) {
    switch (phrase.dataType) {
        case CommandDataType::TEXT: return kIconText;
        case CommandDataType::RTF: return kIconRtf;
        case CommandDataType::EXEC: break;
    }
    if (phrase.command.find(u"GOOGLE") != Text::npos) return kIconGoogle;
    if (phrase.command.find(u"YANDEX") != Text::npos) return kIconYandex;
    if (platform::Current().files.Kind(phrase.command) == platform::PathKind::File)
        return kIconOfFile;
    return kIconExec;
}

MenuItemData MakePhraseItem(const phrases::CWLKCommand& phrase, const MenuRequest& request,
                            phrases::MacroValues& values, phrases::RtfExpander* rtf) {
    Preview preview = Expand(phrase, values, rtf);
    MenuItemData data;
    int caret = -1;
    // A title is already cut to fit; shortening it again would split it.
    if (phrase.useTitleOnly) {
        data.label = PhraseTitle(phrase);
    } else {
        data.label = Label(phrase, request, preview, caret);
        data.label = data.label.empty() ? PhraseTitle(phrase)
                                        : ShortenText(std::move(data.label), kPhraseLabelChars);
    }
    // A shortened label may have lost the caret's place; it stays on the label.
    data.caretPos = caret < 0 ? -1 : std::min(caret, static_cast<int>(data.label.size()));
    if (preview.layout) data.tag = LayoutTag(*preview.layout);
    data.preview = Shown(std::move(preview.withMarker), preview.marker, request);
    data.previewTip = true;
    data.dataType = phrase.dataType;
    data.iconKey = PhraseIconKey(phrase);
    if (data.iconKey == kIconOfFile) data.iconFile = phrase.command;
    data.grayed = phrase.IsDisabledWithoutSelection() && request.selText.empty();
    return data;
}

Text ItemTooltip(const MenuItemData& item) {
    return item.previewTip ? PhraseTooltip(item) : item.tooltip;
}

}  // namespace wlk::menu
