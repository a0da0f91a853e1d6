#include "phrases/file_title.h"

#include <string_view>

#include "phrases/command_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::phrases {

namespace {

// Characters that Windows refuses in file names, and a few that the editor avoids
// in its own names; the quotation mark stands twice as in the editor's list.
constexpr std::u16string_view kReplaced = u"?:\\\"!/<>.\t\n*|{}=()\"'";

// One left-to-right pass, as a replace of the original text would do it: what a
// replacement produces is not looked at again.
void ReplaceAll(Text& text, std::u16string_view from, std::u16string_view to) {
    for (size_t at = text.find(from); at != Text::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

Text TrimChars(const Text& text, std::u16string_view chars) {
    const size_t first = text.find_first_not_of(chars);
    if (first == Text::npos) return Text();
    return text.substr(first, text.find_last_not_of(chars) - first + 1);
}

void CollapseUnderscores(Text& text) {
    ReplaceAll(text, u"___", u"_");
    ReplaceAll(text, u"__", u"_");
}

}  // namespace

Text MakeFileTitle(const Text& text, uint32_t index, bool withExtension, bool replaceSpaces) {
    Text title = TrimChars(text, u" \t");
    if (size_t lineFeed = title.find(u'\n'); lineFeed != Text::npos) title.resize(lineFeed);

    for (char16_t& c : title) {
        if (kReplaced.find(c) != std::u16string_view::npos) c = u'_';
        if (replaceSpaces && c == u' ') c = u'_';
    }
    CollapseUnderscores(title);
    title = TrimChars(title, u"_");
    if (replaceSpaces) {
        ReplaceAll(title, u"   ", u"_");
        ReplaceAll(title, u"  ", u"_");
        ReplaceAll(title, u" ", u"_");
        CollapseUnderscores(title);
    }
    if (index > 1) title += ToText(index);
    if (withExtension) title += kPhraseExtension;
    return title;
}

Text MakeUniqueFileName(const Text& text, const Text& folder) {
    Text prefix = folder;
    if (prefix.empty() || prefix.back() != u'\\') prefix += u'\\';
    auto& files = platform::Current().files;
    // The bound only guards against a file system that reports every name as taken.
    constexpr uint32_t kMaxTries = 1'000'000;
    Text candidate;
    for (uint32_t n = 1; n <= kMaxTries; ++n) {
        candidate = prefix + MakeFileTitle(text, n, true, true);
        if (files.Kind(candidate) == platform::PathKind::Missing) break;
    }
    return candidate;
}

}  // namespace wlk::phrases
