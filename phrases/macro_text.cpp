#include "phrases/macro_text.h"

#include <algorithm>
#include <utility>

namespace wlk::phrases {

namespace {

void AddPercents(std::u16string_view part, size_t offset, std::vector<size_t>& percents) {
    for (size_t at = part.find(u'%'); at != Text::npos; at = part.find(u'%', at + 1))
        percents.push_back(offset + at);
}

size_t CountPercents(std::u16string_view text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), u'%'));
}

}  // namespace

// Sized up front: a body's percents would otherwise grow the list a few times.
MacroText::MacroText(Text text) : text_(std::move(text)) {
    percents_.reserve(CountPercents(text_));
    AddPercents(text_, 0, percents_);
}

Text MacroText::Take() {
    percents_.clear();
    return std::exchange(text_, Text());
}

size_t MacroText::Find(std::u16string_view name) const {
    // A name runs from one '%' to the next, so only the places where that
    // distance fits are compared.
    for (size_t i = 0; i + 1 < percents_.size(); ++i) {
        const size_t at = percents_[i];
        if (percents_[i + 1] - at + 1 == name.size() &&
            std::u16string_view(text_).substr(at, name.size()) == name)
            return at;
    }
    return Text::npos;
}

int MacroText::ReplaceAll(std::u16string_view name, std::u16string_view value) {
    if (name.empty() || !Contains(name)) return 0;
    if (ReplaceSingle(name, value)) return 1;
    const std::u16string_view text(text_);
    Text out;
    out.reserve(text.size() + value.size());
    std::vector<size_t> percents;
    percents.reserve(percents_.size() + CountPercents(value));
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

// The common case, a name that is there once and a value without a '%', in
// place: the text moves its tail once, and the list drops the name's percents
// and moves the later ones, where a rebuild would copy both. False, having
// changed nothing, in any other case.
bool MacroText::ReplaceSingle(std::u16string_view name, std::u16string_view value) {
    if (value.find(u'%') != std::u16string_view::npos) return false;
    const std::u16string_view text(text_);
    size_t first = percents_.size();  // the index of the occurrence's first percent
    for (size_t i = 0; i < percents_.size(); ++i) {
        const size_t at = percents_[i];
        if (first < i && at < percents_[first] + name.size()) continue;  // inside it
        if (text.substr(at, name.size()) != name) continue;
        if (first < i) return false;  // a second occurrence
        first = i;
    }
    if (first == percents_.size()) return false;
    const size_t at = percents_[first];
    size_t after = first;
    while (after < percents_.size() && percents_[after] < at + name.size()) ++after;
    text_.replace(at, name.size(), value);
    percents_.erase(percents_.begin() + static_cast<std::ptrdiff_t>(first),
                    percents_.begin() + static_cast<std::ptrdiff_t>(after));
    for (size_t i = first; i < percents_.size(); ++i)
        percents_[i] = percents_[i] - name.size() + value.size();
    return true;
}

}  // namespace wlk::phrases
