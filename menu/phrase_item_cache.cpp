#include "menu/phrase_item_cache.h"

#include <algorithm>

#include "menu/menu_texts.h"
#include "phrases/macro_expansion.h"
#include "phrases/macro_table.h"
#include "phrases/macro_values.h"
#include "platform/text.h"

namespace wlk::menu {

namespace {

using phrases::CommandDataType;

// What a preview reads beside the fixed macros' values: the raw selection
// (its protocols may be trimmed first) and the target's locale.
constexpr std::u16string_view kRawSelection = u"<selection>";
constexpr std::u16string_view kRawClipboard = u"<clipboard>";
constexpr std::u16string_view kLocale = u"<locale>";

std::u16string_view FixedName(std::u16string_view text) {
    const auto& names = phrases::kFixedMacros;
    const auto it = std::find(names.begin(), names.end(), text);
    return it == names.end() ? std::u16string_view() : *it;
}

bool IsNameChar(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'=' ||
           c == u'{' || c == u'}';
}

// The fixed macros the body holds, as the expansion sees it once the caret,
// the protocol trimming and the layout switches are out. False unless every
// '%' belongs to one of them and a non-name character stands between any two
// of them: only then can no replaced value join the text around it into a
// name that the body did not hold.
bool MacroNames(Text body, std::vector<std::u16string_view>& names, bool& trims) {
    body = Replaced(body, phrases::kMacroCursorPos, kCaretMarker);
    const Text trimmed = Replaced(body, phrases::kMacroTrimProtocols, u"");
    trims = trimmed.size() != body.size();
    body = trimmed;
    phrases::FindLayoutMacro(body);
    const std::u16string_view text(body);
    size_t afterLast = Text::npos;
    for (size_t open = text.find(u'%'); open != Text::npos; open = text.find(u'%', open)) {
        const size_t close = text.find(u'%', open + 1);
        if (close == Text::npos) return false;
        const std::u16string_view name = FixedName(text.substr(open, close - open + 1));
        if (name.empty() || name == phrases::kMacroUrlFromClipboard) return false;
        if (afterLast != Text::npos) {
            const auto gap = text.substr(afterLast, open - afterLast);
            if (std::all_of(gap.begin(), gap.end(), IsNameChar)) return false;
        }
        names.push_back(name);
        open = afterLast = close + 1;
    }
    return true;
}

}  // namespace

void PhraseItemCache::Begin(const MenuRequest& request, const PhraseTexts& texts) {
    if (!(texts == texts_)) {
        entries_.clear();
        texts_ = texts;
    }
    request_ = request;
    ++menu_;
}

void PhraseItemCache::Clear() {
    entries_.clear();
}

const PhraseItemCache::Value& PhraseItemCache::CurrentValue(std::u16string_view name) {
    Value& value = values_[name];
    if (value.menu == menu_) return value;
    value.menu = menu_;
    Text text = name == kRawSelection   ? request_.selText
                : name == kRawClipboard ? request_.clipboardText
                : name == kLocale
                    ? ToText(request_.hkl & 0xFFFF)
                    : phrases::MacroValue(Text(name), request_.selText, request_.clipboardText,
                                          request_.hkl & 0xFFFF);
    if (value.version == 0 || text != value.text) {
        value.hasPercent = text.find(u'%') != Text::npos;
        value.text = std::move(text);
        value.version = ++versions_;
    }
    return value;
}

bool PhraseItemCache::Dependencies(const phrases::CWLKCommand& phrase,
                                   std::vector<Dependency>& out) {
    std::vector<std::u16string_view> names;
    bool trims = false;
    if (!MacroNames(phrase.command, names, trims)) return false;
    // An RTF body is expanded by its own code, which reads both texts raw.
    if (phrase.dataType == CommandDataType::RTF)
        names.insert(names.end(), {kRawSelection, kRawClipboard, kLocale});
    else if (trims)
        names.push_back(kRawSelection);
    for (std::u16string_view name : names) {
        const Value& value = CurrentValue(name);
        // A value holding '%' may complete a macro that follows it.
        if (value.hasPercent && name != kRawSelection && name != kRawClipboard) return false;
        out.emplace_back(name, value.version);
    }
    return true;
}

bool PhraseItemCache::StillValid(const Entry& entry, const phrases::CWLKCommand& phrase) {
    if (entry.dataType != phrase.dataType || entry.titleOnly != phrase.useTitleOnly ||
        entry.name != phrase.name || entry.command != phrase.command)
        return false;
    return std::all_of(entry.dependencies.begin(), entry.dependencies.end(),
                       [this](const Dependency& dependency) {
                           return CurrentValue(dependency.first).version == dependency.second;
                       });
}

MenuItemData PhraseItemCache::Item(const phrases::CWLKCommand& phrase, phrases::RtfExpander* rtf) {
    const auto kept = entries_.find(phrase.id);
    MenuItemData data;
    if (kept != entries_.end() && StillValid(kept->second, phrase)) {
        data = kept->second.data;
    } else {
        ++made_;
        data = MakePhraseItem(phrase, request_, rtf, texts_);
        Entry entry{phrase.name, phrase.command, phrase.dataType, phrase.useTitleOnly, {}, data};
        if (Dependencies(phrase, entry.dependencies))
            entries_.insert_or_assign(phrase.id, std::move(entry));
        else if (kept != entries_.end())
            entries_.erase(kept);
    }
    data.grayed = phrase.IsDisabledWithoutSelection() && request_.selText.empty();
    return data;
}

}  // namespace wlk::menu
