#include "menu/menu_builder.h"

#include <algorithm>

#include "language/interface_strings.h"
#include "log/event_log.h"
#include "menu/extra_commands.h"
#include "menu/history_section.h"
#include "menu/menu_guard.h"
#include "menu/phrase_item.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::menu {

namespace {

using phrases::CommandList;
using phrases::CWLKCommand;
using settings::IntSetting;

constexpr uint32_t kStrOtherCommands = 273;
constexpr int kDefaultLastUsedCount = 3;
constexpr int kMaxLastUsedCount = 5;
// Windows shows submenus nested at most this deep and refuses deeper ones,
// which would cost the whole menu.
constexpr int kMaxGroupDepth = 24;

int LastUsedCount(int count) {
    return count >= 1 && count <= kMaxLastUsedCount ? count : kDefaultLastUsedCount;
}

bool LevelHasId(const MenuModel& menu, uint32_t id) {
    return std::any_of(menu.items.begin(), menu.items.end(),
                       [id](const MenuEntry& entry) { return entry.id == id; });
}

// One request's walk over the phrase library.
class LevelBuilder {
public:
    LevelBuilder(const MenuSources& sources, const MenuRequest& request)
        : sources_(sources),
          request_(request),
          values_(request.selText, request.clipboardText, request.hkl & 0xFFFF),
          mostRecent_(sources.lastUsed.MostRecent()) {}

    void AddLastUsed(MenuModel& menu);
    void AddLevel(MenuModel& menu, const CommandList& list, int depth = 0);

private:
    // History items take the ids from 2000 on, so a phrase there would collide.
    static bool HasMenuId(const CWLKCommand& phrase) {
        if (phrase.id < kFirstHistoryId) return true;
        log::EventLog::Instance().WriteError(
            Format(u"Phrase id %u is not below 2000, left out of the menu: [%s]",
                   {ToText(phrase.id), phrase.name}));
        return false;
    }
    static void SeparatorIfNeeded(MenuModel& menu, bool wanted) {
        if (wanted && !menu.LastIsSeparator()) AppendSeparator(menu);
    }
    void AddPhrase(MenuModel& menu, const CWLKCommand& phrase);
    void AddGroup(MenuModel& menu, const CWLKCommand& group, int depth, bool& first);

    const MenuSources& sources_;
    const MenuRequest& request_;
    // Every phrase of one press previews the same moment's values.
    phrases::MacroValues values_;
    uint32_t mostRecent_;
};

void LevelBuilder::AddLastUsed(MenuModel& menu) {
    const auto& ids = sources_.lastUsed.Ids();
    const size_t count =
        std::min(ids.size(), size_t(LastUsedCount(sources_.options.lastUsedCount)));
    int place = 0;
    for (size_t i = 0; i < count; ++i) {
        if (IsExtraCommandId(ids[i])) continue;
        const CWLKCommand* phrase = sources_.tree.FindById(ids[i]);
        if (!phrase || phrase->IsGroup()) {
            log::EventLog::Instance().Write(
                Format(u"Last used phrase %d is not in the library", {ToText(int64_t(ids[i]))}));
            continue;
        }
        if (!HasMenuId(*phrase)) continue;
        MenuItemData data = MakePhraseItem(*phrase, request_, values_, sources_.rtf);
        data.isDefault = place == 0;
        data.lastUsedIndex = place++;
        AppendItem(menu, phrase->id, std::move(data));
    }
    if (place > 0) AppendSeparator(menu, language::GetString(kStrOtherCommands));
}

void LevelBuilder::AddPhrase(MenuModel& menu, const CWLKCommand& phrase) {
    MenuItemData data = MakePhraseItem(phrase, request_, values_, sources_.rtf);
    data.isDefault = mostRecent_ != 0 && phrase.id == mostRecent_;
    SeparatorIfNeeded(menu, phrase.HasSeparatorBefore());
    AppendItem(menu, phrase.id, std::move(data));
    SeparatorIfNeeded(menu, phrase.HasSeparatorAfter());
}

void LevelBuilder::AddGroup(MenuModel& menu, const CWLKCommand& group, int depth,
                            bool& first) {
    if (depth >= kMaxGroupDepth) {
        log::EventLog::Instance().Write(
            Format(u"Group left out of the menu, groups nest at most %d deep: [%s]",
                   {ToText(kMaxGroupDepth), group.name}));
        return;
    }
    auto submenu = std::make_unique<MenuModel>();
    AddLevel(*submenu, *group.children, depth + 1);
    if (submenu->items.empty()) return;
    SeparatorIfNeeded(menu, first && !menu.items.empty());
    first = false;
    SeparatorIfNeeded(menu, group.HasSeparatorBefore());
    MenuItemData data;
    data.label = group.name;
    data.flags = kItemOpensSubmenu;
    data.isDefault =
        mostRecent_ != 0 && phrases::CWLKCommandTree::GroupContainsId(group, mostRecent_);
    AppendItem(menu, 0, std::move(data)).submenu = std::move(submenu);
    SeparatorIfNeeded(menu, group.HasSeparatorAfter());
}

void LevelBuilder::AddLevel(MenuModel& menu, const CommandList& list, int depth) {
    // Room for every node at once: separators aside, the level grows no more.
    menu.items.reserve(menu.items.size() + list.size());
    for (const CWLKCommand& node : list) {
        if (node.IsGroup() || !node.IsIncluded() || LevelHasId(menu, node.id)) continue;
        if (HasMenuId(node)) AddPhrase(menu, node);
    }
    bool first = true;
    for (const CWLKCommand& node : list) {
        if (node.IsGroup() && node.IsIncluded()) AddGroup(menu, node, depth, first);
    }
}

}  // namespace

MenuOptions MenuOptions::FromSettings(const settings::Settings& settings) {
    MenuOptions options;
    options.lastUsed = settings.Get(IntSetting::AddLastUsedMenuToBegin) != 0;
    options.lastUsedCount = LastUsedCount(settings.Get(IntSetting::AddLastUsedMenuToBeginCount));
    options.history = settings.Get(IntSetting::InsertCHIntoMenu) != 0;
    options.historyAsSubmenu = settings.Get(IntSetting::AppendCHAsSubMenu) != 0;
    options.maxHistory = settings.Get(IntSetting::MaxHistoryItemsInMenu);
    options.editSetting = settings.Get(IntSetting::ExtMenuCommandEditSetting) != 0;
    options.saveSelAsPhrase = settings.Get(IntSetting::ExtMenuCommandSaveSelAsPhrase) != 0;
    options.support = settings.Get(IntSetting::ExtMenuCommandSupport) != 0;
    return options;
}

void LastUsedList::SetLastUsed(uint32_t id, int count, const Text& file) {
    const auto old = std::find(ids_.begin(), ids_.end(), id);
    if (old != ids_.end()) {
        files_.erase(files_.begin() + (old - ids_.begin()));
        ids_.erase(old);
    }
    ids_.insert(ids_.begin(), id);
    files_.insert(files_.begin(), file);
    const size_t kept = std::min(ids_.size(), static_cast<size_t>(LastUsedCount(count)));
    ids_.resize(kept);
    files_.resize(kept);
}

void LastUsedList::Rebind(const phrases::CWLKCommandTree& tree) {
    std::vector<uint32_t> ids;
    std::vector<Text> files;
    for (size_t i = 0; i < ids_.size(); ++i) {
        uint32_t id = files_[i].empty() ? ids_[i] : 0;
        tree.ForEach([&](const CWLKCommand& node) {
            if (node.IsGroup() || node.GetPath() != files_[i]) return true;
            id = node.id;
            return false;
        });
        if (id == 0) {
            log::EventLog::Instance().Write(
                u"Last used phrase dropped, its file is gone: [" + files_[i] + u"]");
            continue;
        }
        ids.push_back(id);
        files.push_back(files_[i]);
    }
    ids_ = std::move(ids);
    files_ = std::move(files);
}

void LastUsedList::Clear() {
    ids_.clear();
    files_.clear();
}

std::unique_ptr<MenuModel> MakeMenu(const MenuSources& sources, const MenuRequest& request) {
    auto menu = std::make_unique<MenuModel>();
    const bool built = RunGuarded(u"ERROR: Exception in IDataNeededHander_MenuSelf::MakeMenu", [&] {
        LevelBuilder builder(sources, request);
        if (sources.options.lastUsed) builder.AddLastUsed(*menu);
        builder.AddLevel(*menu, sources.tree.Commands());
        if (sources.options.history && sources.history) {
            RunGuarded(
                u"ERROR: Exception in IDataNeededHander_MenuSelf::AddClipboardHistoryIntoMenu",
                [&] {
                    AddClipboardHistoryIntoMenu(*sources.history, sources.options, true, *menu);
                });
        }
        if (!menu->items.empty()) AppendExtraCommands(sources.options, request, *menu);
    });
    if (!built || menu->items.empty()) return nullptr;
    return menu;
}

}  // namespace wlk::menu
