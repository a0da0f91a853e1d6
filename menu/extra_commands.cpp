#include "menu/extra_commands.h"

#include "language/interface_strings.h"
#include "menu/menu_texts.h"

namespace wlk::menu {

namespace {

constexpr uint32_t kStrClipboardHistory = 142;
constexpr uint32_t kStrSupport = 258;
constexpr uint32_t kStrSkipped = 260;
constexpr uint32_t kStrEditSettings = 261;
constexpr uint32_t kStrEditSettingsTip = 262;
constexpr uint32_t kStrVisitToUs = 265;
constexpr uint32_t kStrSelectionIntoPhrase = 32780;

constexpr size_t kSelectionChars = 40;

void AppendCommand(MenuModel& menu, uint32_t id, Text label, bool grayed = false) {
    MenuItemData data;
    data.label = std::move(label);
    data.tooltip = language::GetString(id == kCmdEditSetting ? kStrEditSettingsTip : id);
    data.grayed = grayed;
    AppendItem(menu, id, std::move(data));
}

Text SelectionLabel(const Text& selText) {
    Text label = language::GetString(kStrSelectionIntoPhrase);
    if (!selText.empty()) label += u" [" + CutTitle(selText, kSelectionChars) + u"]" + kEllipsis;
    return label;
}

}  // namespace

void AppendExtraCommands(const MenuOptions& options, const MenuRequest& request, MenuModel& menu) {
    if (!menu.LastIsSeparator()) {
        const Text label = options.history ? Text()
                                           : language::GetString(kStrClipboardHistory) + u" [" +
                                                 language::GetString(kStrSkipped) + u"]";
        AppendSeparator(menu, label);
    }
    bool appended = false;
    if (options.editSetting) {
        AppendCommand(menu, kCmdEditSetting, language::GetString(kStrEditSettings));
        appended = true;
    }
    if (options.saveSelAsPhrase) {
        AppendCommand(menu, kCmdSaveSelAsPhrase, SelectionLabel(request.selText),
                      request.selText.empty());
        appended = true;
    }
    if (options.support) {
        if (appended) AppendSeparator(menu, language::GetString(kStrVisitToUs));
        AppendCommand(menu, kCmdSupport, language::GetString(kStrSupport));
    }
    if (menu.LastIsSeparator()) menu.items.pop_back();
}

}  // namespace wlk::menu
