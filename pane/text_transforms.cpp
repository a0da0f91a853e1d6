#include "pane/text_transforms.h"

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::pane {

using history::CCHItem;
using history::CCHQueue;

namespace {

// The item's data as text: UTF-16 as it is, 8-bit text and RTF up to the NUL
// one byte to a unit (so that their bytes come back unchanged).
Text UnitsOf(const CCHItem& item) {
    if (item.Type() == history::CHT_TEXT_UNICODE) return item.PlainText();
    const auto* bytes = reinterpret_cast<const char*>(item.Data());
    return bytes ? FromLatin1(std::string_view(bytes, strnlen(bytes, item.Size()))) : Text();
}

void SetUnits(CCHItem& item, const Text& units) {
    if (item.Type() == history::CHT_TEXT_UNICODE)
        item.SetUnicodeText(units);
    else
        item.SetAnsiText(ToLatin1(units));
}

bool Trimmed(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Blanks, tabs and LF off both ends; the number removed.
size_t TrimEnds(Text& text) {
    size_t end = text.size();
    while (end > 0 && Trimmed(text[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && Trimmed(text[begin])) ++begin;
    const size_t removed = text.size() - (end - begin);
    text = text.substr(begin, end - begin);
    return removed;
}

// "\r\n" and "\n\r" to a blank each; the number replaced.
size_t JoinLines(Text& text) {
    Text out;
    size_t joined = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool pair = i + 1 < text.size() && ((text[i] == u'\r' && text[i + 1] == u'\n') ||
                                                  (text[i] == u'\n' && text[i + 1] == u'\r'));
        out += pair ? u' ' : text[i];
        if (pair) ++i, ++joined;
    }
    text = std::move(out);
    return joined;
}

// Applies `edit` (the item's type, its text or RTF, the count to add to) to
// each item it applies to; an item whose edit failed or changed nothing stays
// as it was.
template <typename Edit>
TransformResult Transform(CCHQueue& queue, const std::vector<size_t>& positions, Edit edit) {
    TransformResult result;
    for (size_t position : positions) {
        CCHItem* item = queue.Newest(position);
        if (!item || !Transformable(item->Type())) continue;
        const Text before = UnitsOf(*item);
        Text after = before;
        if (!edit(item->Type(), after, result.count) || after == before) continue;
        // Saved again, whatever the type: a change the user made stays after a restart.
        SetUnits(*item, after);
        result.changed.push_back(position);
    }
    return result;
}

}  // namespace

bool Transformable(history::ChType type) {
    return type == history::CHT_TEXT_ANSI || type == history::CHT_TEXT_UNICODE ||
           type == history::CHT_RTF;
}

TransformResult ChangeCase(CCHQueue& queue, const std::vector<size_t>& positions, CaseChange change,
                           RtfEditor& rtf) {
    const bool upper = change == CaseChange::Upper;
    auto& locale = platform::Current().locale;
    return Transform(queue, positions, [&](history::ChType type, Text& text, size_t&) {
        switch (type) {
            case history::CHT_TEXT_UNICODE:
                text = upper ? locale.Upper(text) : locale.Lower(text);
                return true;
            case history::CHT_TEXT_ANSI:
                // Code page 1252 where it agrees with Latin-1: the letters of
                // ASCII and of 0xC0-0xFE, whose pairs keep to single bytes.
                text = upper ? ToUpper(text) : ToLower(text);
                return true;
            default: return rtf.ChangeCase(text, change);
        }
    });
}

TransformResult Trim(CCHQueue& queue, const std::vector<size_t>& positions, RtfEditor& rtf) {
    return Transform(queue, positions, [&](history::ChType type, Text& text, size_t& count) {
        if (type != history::CHT_RTF) {
            count += TrimEnds(text);
            return true;
        }
        size_t removed = 0;
        if (!rtf.Trim(text, removed)) return false;
        count += removed;
        return true;
    });
}

TransformResult Join(CCHQueue& queue, const std::vector<size_t>& positions, RtfEditor& rtf) {
    return Transform(queue, positions, [&](history::ChType type, Text& text, size_t& count) {
        if (type != history::CHT_RTF) {
            count += JoinLines(text);
            TrimEnds(text);
            return true;
        }
        size_t replaced = 0;
        if (!rtf.Join(text, replaced)) return false;
        count += replaced;
        return true;
    });
}

}  // namespace wlk::pane
