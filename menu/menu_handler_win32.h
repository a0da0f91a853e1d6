// IDataNeededHander_MenuSelf: the receiver of the target's facts that shows the
// phrase menu at the caret and posts the user's choice to the tray window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "bridge/data_needed_handler.h"
#include "history/ch_queue.h"
#include "menu/menu_builder.h"
#include "menu/menu_keys.h"
#include "menu/menu_painter_win32.h"
#include "phrases/command_tree.h"
#include "phrases/rtf_expansion.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"

namespace wlk::menu {

class MenuTracker;

struct MenuHandlerParts {
    HINSTANCE instance;
    HWND notifyWindow;  // the tray window
    UINT notifyMessage;
    UINT rightCommandMessage;  // sent to the tray window for an item command
    phrases::CWLKCommandTree& phrases;
    const settings::Settings& settings;
    phrases::RtfExpander& rtf;
    std::function<history::CCHQueue*()> history;  // null while there is no history
    // The clipboard's text as the menu call found it, for the clipboard macros.
    std::function<Text()> clipboardText;
};

class IDataNeededHander_MenuSelf final : public bridge::IDataNeededHander {
public:
    explicit IDataNeededHander_MenuSelf(MenuHandlerParts parts);
    ~IDataNeededHander_MenuSelf() override;

    void CleanupMenu() override;
    bool HonoursLayoutMacros() override { return true; }
    bool IsMenuShown() override { return model_ != nullptr; }
    void OnDataNeeded(const bridge::TargetContext& context, bridge::QueryAnswer& answer) override;
    bool ProvidesAnswers() override { return false; }

    // The result code of the menu (see MapMenuResult); 0 when no menu was shown.
    int32_t ShowMenu(const bridge::TargetContext& context);
    void SetLastUsed(uint32_t id);
    // A second press of the hotkey closes the open menu as Escape would; false
    // when no menu is open.
    bool CloseMenu();
    void OnRightMenuCommand(uint32_t commandId, int action);
    // The tray window's "hide the menu tooltip": the next selection shows it again.
    void HideMenuToolTip();
    // The library was loaded again: the last used phrases take their new ids,
    // and the last request is forgotten.
    void OnLibraryReloaded();

    // The context of the last request (null before the first), and the
    // selection the menu kept for "Selection into Phrase".
    const bridge::TargetContext* LastContext() const { return last_ ? &*last_ : nullptr; }
    const Text& SelText() const { return request_.selText; }

private:
    std::unique_ptr<MenuModel> Build(const bridge::TargetContext& context);
    uint32_t Track(const MenuModel& model, POINT point);
    MenuKeyResult KeyInMenu(char16_t ch, const std::vector<const MenuItemData*>& level,
                            int selected) const;

    MenuHandlerParts parts_;
    LastUsedList lastUsed_;
    MenuRequest request_;
    std::optional<bridge::TargetContext> last_;
    // The menu's items while it is shown.
    std::unique_ptr<MenuModel> model_;
    MenuPainter painter_;
    MenuTracker* tracker_ = nullptr;  // while the menu is tracked
};

}  // namespace wlk::menu
