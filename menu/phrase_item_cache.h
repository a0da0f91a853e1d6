// The phrase items of earlier menus, kept between presses of the hotkey: an
// item is made again only when its phrase, the interface texts or the value
// of a macro its body uses has changed. A library of plain phrases is then
// previewed once per load, and a phrase with %DATE% once a day.
#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "menu/phrase_item.h"

namespace wlk::menu {

class PhraseItemCache {
public:
    // Starts a menu: each macro's value is asked again (once) when an item
    // needs it, and items made under other interface texts are dropped.
    void Begin(const MenuRequest& request, const PhraseTexts& texts);
    // The phrase's item, the kept one when nothing it is made of changed.
    MenuItemData Item(const phrases::CWLKCommand& phrase, phrases::RtfExpander* rtf);
    void Clear();
    // Items made rather than taken from the cache, since construction.
    size_t MadeCount() const { return made_; }

private:
    // A macro's value in the latest menu; the version changes with the value.
    struct Value {
        Text text;
        uint64_t version = 0;
        uint64_t menu = 0;  // the menu it was asked in
        bool hasPercent = false;
    };
    using Dependency = std::pair<std::u16string_view, uint64_t>;  // name, version
    struct Entry {
        Text name;
        Text command;
        phrases::CommandDataType dataType;
        bool titleOnly;
        std::vector<Dependency> dependencies;
        MenuItemData data;
    };

    const Value& CurrentValue(std::u16string_view name);
    bool StillValid(const Entry& entry, const phrases::CWLKCommand& phrase);
    // The versions of what the phrase's preview is made of; false when it
    // cannot be kept (a stray '%', a value holding '%', a logged macro).
    bool Dependencies(const phrases::CWLKCommand& phrase, std::vector<Dependency>& out);

    std::unordered_map<uint32_t, Entry> entries_;
    std::map<std::u16string_view, Value> values_;
    MenuRequest request_;
    PhraseTexts texts_;
    uint64_t menu_ = 0;
    uint64_t versions_ = 0;
    size_t made_ = 0;
};

}  // namespace wlk::menu
