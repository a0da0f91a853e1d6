#include "history/rtf_text.h"

#include <cctype>
#include <string>
#include <vector>

namespace wlk::history {

namespace {

bool IsHiddenDestination(std::string_view word) {
    static constexpr std::string_view kHidden[] = {
        "fonttbl",  "colortbl",  "stylesheet", "info",         "pict",
        "object",   "header",    "footer",     "listtable",    "listoverridetable",
        "rsidtbl",  "themedata", "datastore",  "latentstyles", "generator",
        "xmlnstbl", "filetbl",   "revtbl"};
    for (auto hidden : kHidden)
        if (word == hidden) return true;
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct Group {
    bool hidden = false;
    int skipAfterUnicode = 1;  // \ucN
};

}  // namespace

Text PlainTextFromRtf(std::string_view rtf) {
    Text text;
    std::vector<Group> groups{Group{}};
    int pendingSkip = 0;  // fallback characters still to drop after a \uN
    size_t i = 0;
    auto emit = [&](char16_t c) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!groups.back().hidden) text += c;
    };
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{') {
            // Deep nesting is damage; keep reading without growing without end.
            groups.push_back(groups.size() < 1000 ? groups.back() : Group{true, 1});
            ++i;
        } else if (c == '}') {
            if (groups.size() > 1) groups.pop_back();
            pendingSkip = 0;
            ++i;
        } else if (c == '\\') {
            ++i;
            if (i >= rtf.size()) break;
            const char next = rtf[i];
            if (next == '\'') {
                const int high = i + 1 < rtf.size() ? HexValue(rtf[i + 1]) : -1;
                const int low = i + 2 < rtf.size() ? HexValue(rtf[i + 2]) : -1;
                if (high >= 0 && low >= 0) {
                    emit(char16_t(high * 16 + low));
                    i += 3;
                } else {
                    ++i;
                }
            } else if (next == '*') {
                groups.back().hidden = true;
                ++i;
            } else if (std::isalpha(static_cast<unsigned char>(next))) {
                const size_t start = i;
                while (i < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i]))) ++i;
                const std::string_view word = rtf.substr(start, i - start);
                bool hasNumber = false;
                long number = 0;
                bool negative = false;
                if (i < rtf.size() && rtf[i] == '-') negative = true, ++i;
                while (i < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[i]))) {
                    if (number < 1'000'000) number = number * 10 + (rtf[i] - '0');
                    hasNumber = true;
                    ++i;
                }
                if (negative) number = -number;
                if (i < rtf.size() && rtf[i] == ' ') ++i;  // the delimiter belongs to the word
                if (word == "par" || word == "line" || word == "sect" || word == "page") {
                    emit(u'\r');
                } else if (word == "tab") {
                    emit(u'\t');
                } else if (word == "uc" && hasNumber) {
                    groups.back().skipAfterUnicode = int(number < 0 ? 0 : number);
                } else if (word == "u" && hasNumber) {
                    emit(char16_t(number < 0 ? number + 65536 : number));
                    pendingSkip = groups.back().skipAfterUnicode;
                } else if (word == "emdash") {
                    emit(u'\u2014');
                } else if (word == "endash") {
                    emit(u'\u2013');
                } else if (word == "bullet") {
                    emit(u'\u2022');
                } else if (IsHiddenDestination(word)) {
                    groups.back().hidden = true;
                }
            } else {
                // An escaped symbol: \\ \{ \} stand for themselves, \~ is a hard blank.
                if (next == '\\' || next == '{' || next == '}')
                    emit(char16_t(next));
                else if (next == '~')
                    emit(u'\u00A0');
                else if (next == '\r' || next == '\n')
                    emit(u'\r');
                ++i;
            }
        } else if (c == '\r' || c == '\n') {
            ++i;  // line breaks in the source are not text
        } else {
            emit(char16_t(static_cast<unsigned char>(c)));
            ++i;
        }
    }
    // Rich edit gives no paragraph mark after the last paragraph.
    if (!text.empty() && text.back() == u'\r') text.pop_back();
    return text;
}

}  // namespace wlk::history
