// Arbitrary phrase bodies, selections and clipboard texts through prompt
// splitting and macro expansion: a body comes from a file anyone may write,
// and the selection and clipboard from any application.
// Input: body, selection and clipboard text in UTF-8, separated by 0x01 bytes;
// the first byte picks the target's locale.
#include <string>

#include "fuzz/fuzz_support.h"
#include "phrases/macro_expansion.h"
#include "phrases/macro_text.h"
#include "phrases/number_words.h"
#include "phrases/prompt_split.h"
#include "platform/text.h"

namespace wlk::fuzz {

constexpr uint32_t kLocales[] = {0x0409, 0x0407, 0x0419, 0x0411};

// The segments put together give the body back, each prompt is whole, and
// two text segments never follow each other.
void CheckSegments(const Text& body) {
    Text joined;
    bool lastWasText = false;
    for (const auto& segment : phrases::SplitPrompts(body)) {
        Require(!segment.text.empty());
        Require(segment.isPrompt || !lastWasText);
        if (segment.isPrompt) {
            Require(StartsWithIgnoreCase(segment.text, u"%PROMPT_TEXT={"));
            Require(segment.text.size() >= 16 && segment.text.ends_with(u"}%"));
            Require(segment.text.find(segment.promptText) != Text::npos);
        }
        lastWasText = !segment.isPrompt;
        joined += segment.text;
    }
    Require(joined == body);
}

void CheckExpansion(const phrases::MacroTable& table, const Text& body, const Text& selected,
                    const Text& clipboard, uint32_t lcid) {
    Text text = body;
    int caret = -1;
    std::optional<uint16_t> layout;
    phrases::MacroValues values(selected, clipboard, lcid);
    const int count = phrases::ExpandMacros(table, text, values, &caret, &layout);
    Require(count >= 0 && caret >= 0);
    // The caret counts what follows the first marker, later markers included,
    // so only a single marker keeps it inside the text.
    const size_t marker = body.find(u"%CURSOR_POS%");
    const bool oneMarker =
        marker == Text::npos || body.find(u"%CURSOR_POS%", marker + 1) == Text::npos;
    if (oneMarker && selected.find(u'%') == Text::npos && clipboard.find(u'%') == Text::npos)
        Require(static_cast<size_t>(caret) <= text.size());
    Require(!layout || *layout == 0x0409 || *layout == 0x0419);
    // Without a percent sign there is nothing to expand.
    if (body.find(u'%') == Text::npos) Require(text == body && count == 0);
    // The values kept from the first expansion give the second the same text.
    Text again = body;
    Require(phrases::ExpandMacros(table, again, values, nullptr, nullptr) == count);
    Require(again == text);
}

// The indexed replacement agrees with a plain find-and-replace that scans on
// after each inserted value, for a name ("%...%") taken from the body itself.
void CheckReplacement(const Text& body, const Text& value) {
    const size_t start = body.find(u'%');
    if (start == Text::npos) return;
    const size_t end = body.find(u'%', start + 1);
    if (end == Text::npos) return;
    const Text name = body.substr(start, end - start + 1);
    Text plain = body;
    int plainCount = 0;
    for (size_t at = plain.find(name); at != Text::npos; at = plain.find(name, at + value.size())) {
        plain.replace(at, name.size(), value);
        ++plainCount;
    }
    phrases::MacroText indexed(body);
    Require(indexed.ReplaceAll(name, value) == plainCount && indexed.Get() == plain);
    // The index follows the new text, inserted values included.
    Require(indexed.Find(name) == plain.find(name));
}

void FuzzOne(const std::string& bytes) {
    Sim();
    static const phrases::MacroTable table =
        phrases::MacroTable::FromLayouts({0x04090409, 0x04190419});
    if (bytes.empty()) return;
    const uint32_t lcid = kLocales[static_cast<uint8_t>(bytes[0]) % 4];
    std::string parts[3];
    size_t part = 0;
    for (size_t i = 1; i < bytes.size(); ++i) {
        if (bytes[i] == '\x01' && part < 2)
            ++part;
        else
            parts[part] += bytes[i];
    }
    const Text body = FromUtf8(parts[0]);
    CheckSegments(body);
    CheckExpansion(table, body, FromUtf8(parts[1]), FromUtf8(parts[2]), lcid);
    CheckReplacement(body, FromUtf8(parts[1]));
    phrases::NumbersToWords(body);
}

}  // namespace wlk::fuzz
