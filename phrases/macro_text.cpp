#include "phrases/macro_text.h"

#include <cstring>

namespace wlk::phrases {

namespace {

void AddPercents(std::u16string_view part, size_t offset, std::vector<size_t>& percents) {
    for (size_t at = FindPercent(part); at != Text::npos; at = FindPercent(part, at + 1))
        percents.push_back(offset + at);
}

}  // namespace

// Searches the bytes with memchr, which is vectorised where a search of
// 16-bit units is not: a '%' is the byte 0x25 at an even offset followed by 0
// (both targets are little-endian).
size_t FindPercent(std::u16string_view text, size_t from) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size() * 2;
    for (size_t at = from * 2; at < size;) {
        const auto* hit =
            static_cast<const unsigned char*>(std::memchr(bytes + at, '%', size - at));
        if (!hit) break;
        const auto offset = static_cast<size_t>(hit - bytes);
        if (offset % 2 == 0 && bytes[offset + 1] == 0) return offset / 2;
        at = offset + 1;
    }
    return Text::npos;
}

MacroText::MacroText(Text text) : text_(std::move(text)) {
    AddPercents(text_, 0, percents_);
}

size_t MacroText::Find(std::u16string_view name) const {
    for (size_t at : percents_)
        if (std::u16string_view(text_).substr(at, name.size()) == name) return at;
    return Text::npos;
}

int MacroText::ReplaceAll(std::u16string_view name, std::u16string_view value) {
    if (name.empty() || !Contains(name)) return 0;
    const std::u16string_view text(text_);
    Text out;
    out.reserve(text.size() + value.size());
    std::vector<size_t> percents;
    size_t copied = 0;  // the text before this position is in `out`
    int count = 0;
    for (size_t at : percents_) {
        if (at < copied) continue;  // inside an occurrence just replaced
        if (text.substr(at, name.size()) != name) {
            percents.push_back(out.size() + (at - copied));
            continue;
        }
        out.append(text.substr(copied, at - copied));
        AddPercents(value, out.size(), percents);
        out.append(value);
        copied = at + name.size();
        ++count;
    }
    out.append(text.substr(copied));
    text_ = std::move(out);
    percents_ = std::move(percents);
    return count;
}

}  // namespace wlk::phrases
