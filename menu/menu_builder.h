// Building the phrase menu's model for one request: the last used phrases,
// the phrase tree level by level, the clipboard history and the extra
// commands, with labels and tooltips previewed through macro expansion.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "history/ch_queue.h"
#include "menu/menu_model.h"
#include "phrases/command_tree.h"
#include "phrases/rtf_expansion.h"
#include "platform/types.h"
#include "settings/settings.h"

namespace wlk::menu {

// What one request brings: the target's selection (empty unless the context
// reports one), the clipboard text read when the request started, and the
// target's keyboard layout, whose low 16 bits are the locale of the macros.
struct MenuRequest {
    Text selText;
    Text clipboardText;
    uint32_t hkl = 0;
};

// The settings the menu is built by.
struct MenuOptions {
    bool lastUsed = true;
    int lastUsedCount = 3;  // 1 to 5
    bool history = true;
    bool historyAsSubmenu = false;
    int maxHistory = 15;  // 0 or less: no limit
    bool editSetting = true;
    bool saveSelAsPhrase = true;
    bool support = true;

    static MenuOptions FromSettings(const settings::Settings& settings);
};

// The last used phrases, most recent first; it lives as long as the menu
// handler and is not stored. Each entry remembers its phrase's file, so that
// it survives a reload of the library, which gives every phrase a new id.
class LastUsedList {
public:
    // Puts `id` in front, drops its older entry and cuts the list to `count`.
    void SetLastUsed(uint32_t id, int count, const Text& file = Text());
    // After a reload: each entry takes the id its file has now; an entry
    // whose file is gone is dropped, with a log line.
    void Rebind(const phrases::CWLKCommandTree& tree);
    const std::vector<uint32_t>& Ids() const { return ids_; }
    // 0 when none.
    uint32_t MostRecent() const { return ids_.empty() ? 0 : ids_.front(); }
    void Clear();

private:
    std::vector<uint32_t> ids_;
    std::vector<Text> files_;  // beside ids_; empty for what is no phrase file
};

struct MenuSources {
    const phrases::CWLKCommandTree& tree;
    const history::CCHQueue* history;  // null while the history is off
    const LastUsedList& lastUsed;
    MenuOptions options;
    phrases::RtfExpander* rtf;  // null: RTF labels show the phrase's name
};

// The menu top to bottom; null when it would have no item. A fault while
// building is reported and gives null; a fault in the history step leaves the
// menu without (the rest of) the history.
std::unique_ptr<MenuModel> MakeMenu(const MenuSources& sources, const MenuRequest& request);

}  // namespace wlk::menu
