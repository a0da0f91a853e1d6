// CWLKTrayWnd's tray menu: showing it, the states of its items and its commands.
#include <algorithm>

#include "app/run_as_admin.h"
#include "app/tray_commands.h"
#include "app/tray_menu_states.h"
#include "app/tray_window_win32.h"
#include "bridge/foreground.h"
#include "history/history_menu.h"
#include "language/language_list.h"
#include "language/language_switch.h"
#include "language/menu_translation.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/security.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_menu.h"
#include "res/resource.h"
#include "settings/program_location.h"
#include "settings/registry_entries.h"

namespace wlk::app {

using platform::win32::AsWide;

namespace {

log::EventLog& Log() {
    return log::EventLog::Instance();
}

bool ClipboardHoldsText() {
    return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
}

Text MenuText(HMENU menu, UINT id) {
    wchar_t buffer[512] = {};
    GetMenuStringW(menu, id, buffer, 512, MF_BYCOMMAND);
    return reinterpret_cast<const char16_t*>(buffer);
}

void SetMenuText(HMENU menu, UINT item, bool byPosition, const Text& text) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(AsWide(text));
    SetMenuItemInfoW(menu, item, byPosition, &info);
}

// The history entries of the tray menu, on its "Clipboard History" submenu.
class HistorySubmenu : public history::HistoryMenuSink {
public:
    explicit HistorySubmenu(HMENU menu) : menu_(menu) {}
    bool LastIsSeparator() override {
        int count = GetMenuItemCount(menu_);
        return count > 0 && (GetMenuState(menu_, UINT(count - 1), MF_BYPOSITION) & MF_SEPARATOR);
    }
    void AppendSeparator() override { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }
    // Entries past the id range could not be chosen: they are left out.
    void AppendItem(uint32_t commandId, const Text& text) override {
        if (commandId <= kCmdLastHistoryEntry)
            AppendMenuW(menu_, MF_STRING, commandId, AsWide(text));
    }
    void SetDefaultItem(uint32_t commandId) override {
        if (commandId <= kCmdLastHistoryEntry) SetMenuDefaultItem(menu_, commandId, FALSE);
    }

private:
    HMENU menu_;
};

Text ClipboardText(HWND owner) {
    Text text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// The position in `menu` of the submenu that holds command `id`, or -1.
int SubmenuHolding(HMENU menu, UINT id) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub && GetMenuState(sub, id, MF_BYCOMMAND) != UINT(-1)) return i;
    }
    return -1;
}

}  // namespace

void CWLKTrayWnd::ShowTrayMenu(POINT point) {
    HMENU resource = LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_TRAY_MENU));
    HMENU popup = resource ? GetSubMenu(resource, 0) : nullptr;
    UINT chosen = 0;
    if (popup) {
        SetMenuDefaultItem(popup, kCmdEditPhrases, FALSE);
        auto menu = platform::win32::Win32Menu::View(popup);
        language::LocalizeMenu(*menu);
        language::RebuildLanguageMenu(*menu);
        Log().Write(Format(u"ISWINDOW=%d", {ToText(IsWindow(hwnd_) ? 1 : 0)}));
        pane_.KeepOnScreen();
        EndMenu();
        SetForegroundWindow(hwnd_);
        CheckMenuItem(
            popup, kCmdCheckForUpdates,
            settings_.Get(settings::IntSetting::AutoCheckForUpdates) ? MF_CHECKED : MF_UNCHECKED);
        {
            ModalLoops::Scope trayMenu(loops_);
            chosen = UINT(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y,
                                         0, hwnd_, nullptr));
            EndMenu();
        }
    }
    if (resource) DestroyMenu(resource);
    if (chosen) SendMessageW(hwnd_, WM_COMMAND, chosen, 0);
    Log().Write(
        Format(u"DisplayTrayMenuWithPoint x=%d y=%d bLoad=%d, bPOPUP=%d",
               {ToText(point.x), ToText(point.y), ToText(resource ? 1 : 0), ToText(chosen)}));
}

void CWLKTrayWnd::OnInitMenuPopup(HMENU menu) {
    Log().Write(u"CWLKTrayWnd::OnInitMenuPopup");
    TrayMenuFacts facts;
    facts.servicesInstalled = services_.IsInstalled();
    facts.startWithWindows = settings::IsStartWithWindows();
    facts.delayAutoLoadSeconds = settings_.Get(settings::IntSetting::DelayAutoLoadSeconds);
    facts.sounds = settings_.Get(settings::IntSetting::SoundOnEvents) != 0;
    facts.logOpen = Log().IsOpen();
    facts.historyPaneOnStart = settings_.Get(settings::IntSetting::ShowHistoryPaneOnStart) != 0;
    facts.paneExists = pane_.Exists();
    facts.saveHistoryOnExit = settings_.Get(settings::IntSetting::SaveClipboardHistory) != 0;
    facts.clipboardHasText = ClipboardHoldsText();
    facts.watcherExists = history_.Exists();
    facts.historyCount = history_.Queue() ? int(history_.Queue()->Count()) : 0;
    facts.historyMax = settings_.Get(settings::IntSetting::ClipboardHistoryMax);
    facts.phrasesAll = phraseMenu_.Counts().all;
    facts.phrasesShown = phraseMenu_.Counts().included;
    facts.admin = platform::win32::RunsAsAdministrator();
    for (const auto& state :
         TrayMenuStates(facts, [menu](uint32_t id) { return MenuText(menu, id); })) {
        if (GetMenuState(menu, state.id, MF_BYCOMMAND) == UINT(-1)) continue;  // not in this popup
        CheckMenuItem(menu, state.id, MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
        EnableMenuItem(menu, state.id, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
        if (state.text) SetMenuText(menu, state.id, false, *state.text);
    }
    if (GetMenuState(menu, kCmdKeepHistory, MF_BYCOMMAND) != UINT(-1) &&
        SubmenuHolding(menu, kCmdKeepHistory) < 0) {
        // The "Clipboard History" submenu itself: its history entries anew.
        for (UINT id = kCmdFirstHistoryEntry; id <= kCmdLastHistoryEntry; ++id)
            DeleteMenu(menu, id, MF_BYCOMMAND);
        HistorySubmenu entries(menu);
        size_t added = 0;
        if (const history::CCHQueue* queue = history_.Queue())
            added = std::min(kTrayHistoryEntries,
                             history::AppendHistoryEntries(*queue, entries, kCmdFirstHistoryEntry,
                                                           ClipboardText(hwnd_)));
        Log().Write(Format(u"bHistory=%d\n", {ToText(int64_t(added))}));
    }
    int historyItem = SubmenuHolding(menu, kCmdKeepHistory);
    if (historyItem >= 0) {
        wchar_t buffer[256] = {};
        GetMenuStringW(menu, UINT(historyItem), buffer, 256, MF_BYPOSITION);
        CheckMenuItem(menu, UINT(historyItem),
                      MF_BYPOSITION | (facts.watcherExists ? MF_CHECKED : MF_UNCHECKED));
        SetMenuText(menu, UINT(historyItem), true,
                    HistorySubmenuText(reinterpret_cast<const char16_t*>(buffer),
                                       facts.historyCount, facts.historyMax));
    }
}

void CWLKTrayWnd::OnMenuSelect(UINT id, UINT flags) {
    selectedCommand_ = (flags & MF_POPUP) ? 0 : id;
    if (selectedCommand_ == kCmdHistoryPane)
        SetTimer(hwnd_, kTimerPanePreview, 1000, nullptr);
    else
        KillTimer(hwnd_, kTimerPanePreview);
}

void CWLKTrayWnd::SaveAndNotify() {
    settings_.Save();
    settings_.NotifyOptionsChanged();
}

void CWLKTrayWnd::OnCommand(UINT id) {
    switch (id) {
        case kCmdExit: exit_.Request(hwnd_); return;
        case kCmdRunAsAdministrator:
            SetForegroundWindow(hwnd_);
            RunAsAdministrator(platform::WindowId(hwnd_), [this] {
                HWND window = hwnd_;
                SendMessageW(window, WM_COMMAND, kCmdExit, 0);
                if (IsWindow(window)) SendMessageW(window, WM_CLOSE, 0, 0);
                if (IsWindow(window)) DestroyWindow(window);
            });
            return;
        case kCmdEnableMenuOfPhrases: OnEnableMenuOfPhrases(); return;
        case kCmdEditPhrases: StartPhraseEditor(false, false, false, Text()); return;
        case kCmdSavePhraseFromClipboard: StartPhraseEditor(true, false, false, Text()); return;
        case kCmdOpenSettingsFile:
            ShellExecuteW(hwnd_, L"open", AsWide(settings_.GetSettingsPath()), nullptr, nullptr,
                          SW_SHOWNORMAL);
            return;
        case kCmdWelcome:
            ShellExecuteW(hwnd_, L"open",
                          AsWide(settings::ProgramFolder() + settings::kWelcomeProgramFile),
                          nullptr, nullptr, SW_SHOWNORMAL);
            return;
        case kCmdAbout: about_.Show(instance_); return;
        case kCmdMenuOnMouseEvent: SaveAndNotify(); return;
        case kCmdShowTrayMenuAtCursor: {
            POINT point;
            GetCursorPos(&point);
            ShowTrayMenu(point);
            return;
        }
        case kCmdRequestMenuFromPane: SetTimer(hwnd_, kTimerMenuFromPane, 500, nullptr); return;
        case kCmdReKeepHistory:
            history_.ReKeep();
            UpdateTrayIcon(TrayIconMode::Refresh);
            return;
        case kCmdRereadPhrases: phraseMenu_.ReloadLibrary(); return;
        case kCmdClearHistory:
            history_.Clear();
            pane_.OnHistoryChanged();
            return;
        case kCmdHistoryPane: pane_.Show(instance_, hwnd_); return;
        case kCmdCheckForUpdates: updates_.CheckNow(); return;
        default: break;
    }
    if (id >= kCmdFirstHistoryEntry && id <= kCmdLastHistoryEntry) {
        history_.PutEntryOnClipboard(id - kCmdFirstHistoryEntry);
        UpdateTrayIcon(TrayIconMode::Refresh);
        return;
    }
    if (language::IsLanguageCommand(id)) {
        if (language::SwitchLanguage(id, settings_)) OnLanguageSwitched(true);
        return;
    }
    OnOpenWebPage(id);
    OnToggleCommand(id);
}

info::ProgramState CWLKTrayWnd::AboutState() {
    return {services_.Hook().ImplementationText(), services_.IsInstalled(),
            phraseMenu_.Counts().all, history_.Queue() ? int(history_.Queue()->Count()) : 0};
}

void CWLKTrayWnd::OnToggleCommand(UINT id) {
    using settings::IntSetting;
    auto toggle = [this](IntSetting setting) {
        settings_.Set(setting, settings_.Get(setting) ? 0 : 1);
        SaveAndNotify();
    };
    switch (id) {
        case kCmdStartWithWindows:
            settings::SetStartWithWindows(!settings::IsStartWithWindows());
            break;
        case kCmdSounds: toggle(IntSetting::SoundOnEvents); break;
        case kCmdHistoryPaneOnStart: toggle(IntSetting::ShowHistoryPaneOnStart); break;
        case kCmdSaveHistoryOnExit: toggle(IntSetting::SaveClipboardHistory); break;
        case kCmdKeepHistory:
            toggle(IntSetting::ClipboardHistory);
            history_.SetKeep(settings_.Get(IntSetting::ClipboardHistory) != 0);
            break;
        case kCmdWriteLog:
            toggle(IntSetting::WriteLog);
            if (settings_.Get(IntSetting::WriteLog))
                Log().Open(Log().LogPath());
            else
                Log().Close();
            break;
        default: break;
    }
}

void CWLKTrayWnd::OnOpenWebPage(UINT id) {
    if (id == kCmdEmailToUs) {
        ShellExecuteW(hwnd_, L"open", L"mailto:support@orrinsoftworks.com", nullptr, nullptr,
                      SW_SHOWNORMAL);
        return;
    }
    if (auto page = WebPageOf(id))
        ShellExecuteW(hwnd_, L"open", AsWide(language::kProductWebAddress + *page), nullptr,
                      nullptr, SW_SHOWNORMAL);
}

void CWLKTrayWnd::OnTrayIcon(LPARAM lParam) {
    Log().Write(Format(u"_OnWmTrayEvent lParam=%d", {ToText(int64_t(lParam))}));
    UINT event = LOWORD(lParam);
    if (event == WM_LBUTTONUP || event == WM_RBUTTONUP || event == NIN_BALLOONUSERCLICK) {
        GetCursorPos(&lastTrayPoint_);
        AfterPhraseMenu([this] { ShowTrayMenu(lastTrayPoint_); });
    }
}

// One menu is tracked at a time: an open phrase menu closes before the tray menu shows.
void CWLKTrayWnd::AfterPhraseMenu(std::function<void()> show) {
    if (phraseMenu_.IsShown()) {
        EndMenu();
        loops_.WhenIdle(std::move(show));
    } else {
        show();
    }
}

void CWLKTrayWnd::OnShowTrayMenuInForeground() {
    AfterPhraseMenu([this] {
        bridge::CAutoForegroundWindow foreground(platform::WindowId(hwnd_), true);
        SetActiveWindow(hwnd_);
        MessageBeep(MB_ICONASTERISK);
        POINT point;
        GetCursorPos(&point);
        ShowTrayMenu(point);
    });
}

}  // namespace wlk::app
