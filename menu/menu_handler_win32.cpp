#include "menu/menu_handler_win32.h"

#include "bridge/foreground.h"
#include "log/event_log.h"
#include "menu/menu_keys.h"
#include "menu/menu_tracker_win32.h"
#include "menu/popup_menu_win32.h"
#include "platform/text.h"

namespace wlk::menu {

namespace {

// A chosen item's command runs after the menu has gone from the screen.
constexpr DWORD kAfterChoiceMs = 100;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

void LogHandle(const char16_t* name, platform::WindowId window) {
    Log().Write(Format(u"%s=%d", {Text(name), ToText(int64_t(window))}));
}

void LogContext(const bridge::TargetContext& context) {
    Log().Write(Format(u"IDataNeededHander_MenuSelf::OnDataNeeded lcid=%d",
                       {ToText(int64_t(context.HKL & 0xFFFF))}));
    const auto& gui = context.guiThread;
    LogHandle(u"Caret", gui.HWND_Caret);
    LogHandle(u"Focus", gui.HWND_Focus);
    LogHandle(u"Active", gui.HWND_Active);
    LogHandle(u"Menu", gui.HWND_MenuOwner);
    LogHandle(u"Capture", gui.HWND_Capture);
    LogHandle(u"hwndForMenu", context.HWND);
}

void LogNotShown(const char16_t* why) {
    Log().Write(Format(u"Phrase menu not shown: %s (error %u)",
                       {Text(why), ToText(static_cast<long long>(GetLastError()))}));
}

// The caret's point when the target told it, else where the mouse is.
POINT MenuPoint(const bridge::TargetContext& context) {
    POINT point{context.POINT_X, context.POINT_Y};
    if (point.x == -1 && point.y == -1) GetCursorPos(&point);
    return point;
}

}  // namespace

IDataNeededHander_MenuSelf::IDataNeededHander_MenuSelf(MenuHandlerParts parts)
    : parts_(std::move(parts)), painter_(parts_.instance, parts_.settings) {}

IDataNeededHander_MenuSelf::~IDataNeededHander_MenuSelf() = default;

void IDataNeededHander_MenuSelf::OnDataNeeded(const bridge::TargetContext& context,
                                              bridge::QueryAnswer&) {
    last_ = context;
    history::CCHQueue* queue = parts_.history ? parts_.history() : nullptr;
    // Copies made while the menu is open (a selection read, a right-click
    // copy) are not recorded.
    const bool wasLocked = queue && queue->IsLocked();
    if (queue) queue->SetLocked(true);
    LogContext(context);
    int32_t result = ShowMenu(context);
    if (queue) queue->SetLocked(wasLocked);
    if (result == 0) result = MapMenuResult(0);
    PostMessageW(parts_.notifyWindow, parts_.notifyMessage, WPARAM(intptr_t(result)),
                 LPARAM(context.HWND));
}

int32_t IDataNeededHander_MenuSelf::ShowMenu(const bridge::TargetContext& context) {
    model_ = Build(context);
    if (!model_) {
        Log().Write(u"No phrase menu: no phrase, history item or command to show");
        return 0;
    }
    const uint32_t chosen = Track(*model_, MenuPoint(context));
    CleanupMenu();
    if (chosen != 0) Sleep(kAfterChoiceMs);
    return MapMenuResult(chosen);
}

std::unique_ptr<MenuModel> IDataNeededHander_MenuSelf::Build(const bridge::TargetContext& context) {
    const bool selected = context.StateSelText != bridge::kSelTextNone;
    request_ =
        MenuRequest{selected ? context.SelText : Text(), parts_.clipboardText(), context.HKL};
    MenuSources sources{parts_.phrases, parts_.history ? parts_.history() : nullptr, lastUsed_,
                        MenuOptions::FromSettings(parts_.settings), &parts_.rtf};
    return MakeMenu(sources, request_);
}

uint32_t IDataNeededHander_MenuSelf::Track(const MenuModel& model, POINT point) {
    HMENU menu = CreatePopupFromModel(model);
    if (!menu) {
        LogNotShown(u"its popup could not be made");
        return 0;
    }
    TrackerCallbacks callbacks{[this](uint32_t id, int action) { OnRightMenuCommand(id, action); },
                               [this](char16_t ch, const std::vector<const MenuItemData*>& level,
                                      int selected) { return KeyInMenu(ch, level, selected); }};
    MenuTracker tracker(parts_.instance, painter_, std::move(callbacks));
    uint32_t chosen = 0;
    if (tracker.Create(parts_.settings.Get(settings::IntSetting::MenuToolTips) != 0)) {
        tracker_ = &tracker;
        // The menu's keys and mouse reach this thread only while one of its
        // windows is in front; the target gets the foreground back afterwards.
        bridge::CAutoForegroundWindow foreground(platform::WindowId(parts_.notifyWindow), true);
        painter_.Prepare(menu);
        SetCursorPos(point.x, point.y);
        SetLastError(0);
        chosen = uint32_t(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                           point.x, point.y, tracker.Window(), nullptr));
        if (chosen == 0 && GetLastError() != 0) LogNotShown(u"the system refused it");
        if (chosen == 0) chosen = tracker.KeyChoice();
        tracker_ = nullptr;
        tracker.Destroy();
    } else {
        LogNotShown(u"its tracker window could not be made");
    }
    DestroyMenu(menu);
    return chosen;
}

MenuKeyResult IDataNeededHander_MenuSelf::KeyInMenu(char16_t ch,
                                                    const std::vector<const MenuItemData*>& level,
                                                    int selected) const {
    if (!model_) return MenuKeyResult{};
    return OnMenuKey(*model_, level, ch, selected);
}

void IDataNeededHander_MenuSelf::CleanupMenu() {
    model_.reset();
}

bool IDataNeededHander_MenuSelf::CloseMenu() {
    if (!IsMenuShown()) return false;
    Log().Write(u"Phrase menu closed by the hotkey");
    EndMenu();
    return true;
}

void IDataNeededHander_MenuSelf::SetLastUsed(uint32_t id) {
    const MenuOptions options = MenuOptions::FromSettings(parts_.settings);
    const phrases::CWLKCommand* phrase = parts_.phrases.FindById(id);
    lastUsed_.SetLastUsed(id, options.lastUsedCount, phrase ? phrase->GetPath() : Text());
}

void IDataNeededHander_MenuSelf::OnLibraryReloaded() {
    lastUsed_.Rebind(parts_.phrases);
    request_ = MenuRequest{};
    last_.reset();
}

void IDataNeededHander_MenuSelf::HideMenuToolTip() {
    if (tracker_) tracker_->HideToolTip();
}

void IDataNeededHander_MenuSelf::OnRightMenuCommand(uint32_t commandId, int action) {
    Log().Write(u"IDataNeededHander_MenuSelf::OnRightMenuCommand");
    SendMessageW(parts_.notifyWindow, parts_.rightCommandMessage, WPARAM(action),
                 LPARAM(commandId));
}

}  // namespace wlk::menu
