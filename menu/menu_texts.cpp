#include "menu/menu_texts.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace wlk::menu {

namespace {

Text TrimSet(const Text& text, std::u16string_view set) {
    const size_t begin = text.find_first_not_of(set);
    if (begin == Text::npos) return Text();
    const size_t end = text.find_last_not_of(set);
    return text.substr(begin, end - begin + 1);
}

// How many blanks a run of `run` is left with when runs of three and then
// runs of two are each replaced by one, left to right.
size_t FoldedBlanks(size_t run) {
    const size_t afterThrees = run / 3 + run % 3;
    return afterThrees / 2 + afterThrees % 2;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\r' || c == u'\n';
}

// Puts the text on one line in one pass, in place: line breaks (CR LF, LF,
// CR) become blanks and each blank run is folded. A run never grows, so what
// is written never passes what is still to be read; the words between runs
// move left whole.
void FoldLine(Text& text) {
    size_t out = 0;
    size_t run = 0;
    const auto putBlanks = [&] {
        const size_t blanks = FoldedBlanks(run);
        std::fill_n(text.begin() + static_cast<std::ptrdiff_t>(out), blanks, u' ');
        out += blanks;
        run = 0;
    };
    for (size_t i = 0; i < text.size();) {
        if (IsBlank(text[i])) {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            ++i;
            ++run;
            continue;
        }
        putBlanks();
        size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        if (out != i)
            std::copy(text.begin() + static_cast<std::ptrdiff_t>(i),
                      text.begin() + static_cast<std::ptrdiff_t>(end),
                      text.begin() + static_cast<std::ptrdiff_t>(out));
        out += end - i;
        i = end;
    }
    putBlanks();
    text.resize(out);
}

void TrimInPlace(Text& text, std::u16string_view set) {
    const size_t end = text.find_last_not_of(set);
    if (end == Text::npos) {
        text.clear();
        return;
    }
    text.erase(end + 1);
    text.erase(0, text.find_first_not_of(set));
}

// Where the head ends: at the furthest of the first word separators in the
// first `h` characters, so that the cut falls between words.
// The head is walked once: the last separator seen there for the first time
// is the furthest first one.
size_t HeadEnd(const Text& text, size_t h) {
    static constexpr std::u16string_view kSeparators = u" \r\n\t,;?!^()+-\\/@|&*\"'";
    static constexpr auto kIsSeparator = [] {
        std::array<bool, 128> is{};
        for (char16_t c : kSeparators) is[c] = true;
        return is;
    }();
    std::array<bool, 128> seen{};
    size_t end = 0;
    for (size_t i = 0; i < std::min(h, text.size()); ++i) {
        const char16_t c = text[i];
        if (c >= kIsSeparator.size() || !kIsSeparator[c] || seen[c]) continue;
        seen[c] = true;
        if (i > 0) end = i;
    }
    return end > 0 ? end : h;
}

// Where the tail starts: just after the nearest line or word break in the
// last `h` characters.
size_t TailStart(const Text& text, size_t h) {
    static constexpr std::u16string_view kBreaks[] = {u" ", u"\r\n", u"\n", u"\r", u"\t"};
    const size_t from = text.size() - h;
    size_t start = Text::npos;
    for (std::u16string_view brk : kBreaks) {
        const size_t at = text.find(brk, from);
        if (at != Text::npos && at > 0) start = std::min(start, at + brk.size());
    }
    return start != Text::npos ? start : from;
}

}  // namespace

Text Replaced(const Text& text, std::u16string_view from, std::u16string_view to) {
    size_t at = text.find(from);
    if (at == Text::npos) return text;
    Text out;
    out.reserve(text.size());
    size_t start = 0;
    for (; at != Text::npos; at = text.find(from, start)) {
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
    }
    out.append(text, start);
    return out;
}

Text CutTitle(const Text& text, size_t n) {
    Text title = TrimSet(text, u" \t\r\n\v\b");
    const size_t lineEnd = title.find_first_of(u"\t\r\n\v\b", 1);
    if (lineEnd != Text::npos) title.resize(lineEnd);
    if (title.size() > n) {
        title.resize(n);
        title += kEllipsis;
    }
    for (std::u16string_view brk : {u"\r\n", u"\n", u"\r", u"\t", u"\r\r", u"\v", u"\b"})
        title = Replaced(title, brk, u" ");
    return title;
}

Text ShortenText(Text text, size_t n) {
    if (text.size() <= n) return text;
    FoldLine(text);
    TrimInPlace(text, u"\u00B6 \t\r");
    if (text.size() <= n) return text;
    const size_t h = n / 2;
    const size_t headEnd = HeadEnd(text, h);
    // The middle becomes the ellipsis in place: the text only shrinks.
    text.replace(headEnd, TailStart(text, h) - headEnd, 1, kEllipsis);
    return text;
}

Text TooltipText(Text text) {
    if (text.size() > kTooltipTextChars) {
        text.resize(kTooltipTextChars);
        text += kEllipsis;
    }
    return text;
}

}  // namespace wlk::menu
