#include "history/history_folder.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {
// Past this many names of one pattern the folder is not one we look after.
constexpr long long kMaxNumber = 1'000'000;
}  // namespace

Text HistoryFolder() {
    const Text program = platform::Current().system.ProgramPath();
    return program.substr(0, program.rfind(u'\\') + 1) + u"ClipboardHistory\\";
}

NamePattern DataFilePattern(ChType type) {
    switch (type) {
        case CHT_TEXT_UNICODE: return {u"Unicode_clipboard_history", u".txt"};
        case CHT_TEXT_ANSI: return {u"clipboard_history", u".txt"};
        case CHT_RTF: return {u"clipboard_history", u".rtf"};
        case CHT_QUIRENOTE: return {u"clipboard_history", u".qnd"};
        case CHT_BITMAP: return {u"clipboard_history", u".bmp"};
        case CHT_HTML: return {u"clipboard_history", u".html"};
    }
    return {u"clipboard_history", u".txt"};
}

Text FirstFreeName(const Text& folder, const NamePattern& pattern, long long from) {
    auto& files = platform::Current().files;
    for (long long n = from; n < kMaxNumber; ++n) {
        Text name = pattern.prefix + ToText(n) + pattern.extension;
        if (files.Kind(folder + name) == platform::PathKind::Missing) return name;
    }
    return {};
}

NameAllocator::Counter& NameAllocator::CounterOf(const NamePattern& pattern) {
    return counters_[Text(pattern.prefix) + pattern.extension];
}

Text NameAllocator::Next(const NamePattern& pattern) {
    Counter& counter = CounterOf(pattern);
    Text name;
    if (!counter.look) {
        if (counter.next < kMaxNumber)
            name = pattern.prefix + ToText(counter.next) + pattern.extension;
    } else {
        name = FirstFreeName(folder_, pattern, counter.next);
    }
    if (!name.empty()) {
        const size_t digits = Text(pattern.prefix).size();
        counter.next =
            ParseInt(std::u16string_view(name).substr(digits)).value_or(counter.next) + 1;
        counter.look = false;
    }
    return name;
}

void NameAllocator::Taken(const NamePattern& pattern) {
    CounterOf(pattern).look = true;
}

ChType TypeFromFileName(const Text& name) {
    const size_t dot = name.rfind(u'.');
    const Text extension = dot == Text::npos ? Text() : ToLower(name.substr(dot + 1));
    if (extension == u"bmp") return CHT_BITMAP;
    if (extension == u"qnd") return CHT_QUIRENOTE;
    if (extension == u"rtf") return CHT_RTF;
    if (extension == u"html") return CHT_HTML;
    if (extension == u"txt")
        return StartsWithIgnoreCase(name, u"Unicode_") ? CHT_TEXT_UNICODE : CHT_TEXT_ANSI;
    return CHT_TEXT_UNICODE;
}

Text FileNameOf(const Text& path) {
    return path.substr(path.rfind(u'\\') + 1);
}

}  // namespace wlk::history
