#include "phrases/macro_expansion.h"

#include <algorithm>

#include "log/event_log.h"
#include "phrases/macro_text.h"
#include "phrases/macro_values.h"
#include "platform/text.h"

namespace wlk::phrases {

namespace {

// Replaces each occurrence, scanning on after the inserted value, so a value
// never expands into itself. Gives the number replaced.
int ReplaceAll(Text& text, std::u16string_view name, const Text& value) {
    int count = 0;
    for (size_t at = text.find(name); at != Text::npos; at = text.find(name, at + value.size())) {
        text.replace(at, name.size(), value);
        ++count;
    }
    return count;
}

// Removes a protocol prefix the user selected along with an address.
Text WithoutProtocols(Text selected) {
    ReplaceAll(selected, kMacroTrimProtocols, Text());
    for (std::u16string_view scheme : {u"http://", u"https://"})
        while (StartsWithIgnoreCase(selected, scheme)) selected.erase(0, scheme.size());
    return selected;
}

// Characters after the first caret marker, a CR LF pair counting as one step.
int CaretOffset(const Text& text) {
    const size_t at = text.find(kMacroCursorPos);
    if (at == Text::npos) return 0;
    const size_t after = at + kMacroCursorPos.size();
    const auto feeds =
        std::count(text.begin() + static_cast<std::ptrdiff_t>(after), text.end(), u'\n');
    return std::max(0, static_cast<int>(text.size() - after - static_cast<size_t>(feeds)));
}

}  // namespace

std::optional<uint16_t> RemoveLayoutMacros(const MacroTable& table,
                                           const std::function<int(std::u16string_view)>& removeAll,
                                           int* removed) {
    std::optional<uint16_t> found;
    int total = 0;
    for (const auto& layout : table.Layouts()) {
        const int count = removeAll(layout.name);
        if (count > 0) found = layout.language;
        total += count;
    }
    if (removed) *removed = total;
    return found;
}

std::optional<uint16_t> FindLayoutMacro(const MacroTable& table, Text& text) {
    return RemoveLayoutMacros(
        table, [&text](std::u16string_view name) { return ReplaceAll(text, name, Text()); });
}

std::optional<uint16_t> FindLayoutMacro(Text& text) {
    return FindLayoutMacro(MacroTable::Instance(), text);
}

int ExpandMacros(const MacroTable& table, Text& text, MacroValues& values, int* caret,
                 std::optional<uint16_t>* layout) {
    if (caret) *caret = 0;
    if (layout) layout->reset();
    if (text.find(u'%') == Text::npos) return 0;  // no macro can be there
    MacroText body(std::move(text));
    // The values of the selection without its protocol are this body's own.
    const bool trim =
        body.ReplaceAll(kMacroTrimProtocols, Text()) > 0 && !values.Selected().empty();
    const Text trimmed = trim ? WithoutProtocols(values.Selected()) : Text();
    std::optional<MacroValues> trimmedValues;
    if (trim) trimmedValues.emplace(trimmed, values.Clipboard(), values.Lcid());
    MacroValues& use = trim ? *trimmedValues : values;

    const auto language = RemoveLayoutMacros(
        table, [&body](std::u16string_view name) { return body.ReplaceAll(name, Text()); });
    if (layout) *layout = language;

    int total = 0;
    for (std::u16string_view name : kFixedMacros) {
        if (name == kMacroCursorPos || name == kMacroTrimProtocols) continue;
        if (!body.Contains(name)) continue;  // values are only computed when used
        const Text& value = use.Get(name);
        total += body.ReplaceAll(name, value);
        if (name == kMacroUrlFromClipboard)
            log::EventLog::Instance().Write(Format(
                u"PreReplaced MC_URL_FROMCLIPBOARD command=[%s] result=[%s]", {body.Get(), value}));
    }

    if (caret) *caret = CaretOffset(body.Get());
    body.ReplaceAll(kMacroCursorPos, Text());
    text = body.Take();
    return total;
}

int ExpandMacros(Text& text, const Text& selected, const Text& clipboard, int* caret,
                 std::optional<uint16_t>* layout, uint32_t lcid) {
    MacroValues values(selected, clipboard, lcid);
    return ExpandMacros(MacroTable::Instance(), text, values, caret, layout);
}

}  // namespace wlk::phrases
