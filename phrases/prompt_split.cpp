#include "phrases/prompt_split.h"

#include "platform/text.h"

namespace wlk::phrases {

namespace {

constexpr std::u16string_view kOpener = u"%PROMPT_TEXT={";
constexpr std::u16string_view kCloser = u"}%";
constexpr std::u16string_view kInnerOpener = u"={";

void AddText(std::vector<PromptSegment>& segments, const Text& body, size_t from, size_t to) {
    if (to > from) segments.push_back({false, body.substr(from, to - from), Text()});
}

PromptSegment Prompt(const Text& segment) {
    const size_t inner = segment.find(kInnerOpener) + kInnerOpener.size();
    const size_t close = segment.size() - kCloser.size();
    return {true, segment, segment.substr(inner, close - inner)};
}

}  // namespace

std::vector<PromptSegment> SplitPrompts(const Text& body) {
    // Case folding keeps every character in place, so positions carry over.
    const Text folded = ToUpper(body);
    std::vector<PromptSegment> segments;
    size_t done = 0;
    for (;;) {
        const size_t open = folded.find(kOpener, done);
        const size_t close =
            open == Text::npos ? Text::npos : folded.find(kCloser, open + kOpener.size());
        if (close == Text::npos) break;
        AddText(segments, body, done, open);
        done = close + kCloser.size();
        segments.push_back(Prompt(body.substr(open, done - open)));
    }
    AddText(segments, body, done, body.size());
    return segments;
}

}  // namespace wlk::phrases
