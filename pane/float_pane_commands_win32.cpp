// CWLKFloatPane's commands: the context menu, the toolbar, copy-and-insert,
// Save… and the boxes that report a count.
#include "pane/float_pane_win32.h"
// After <windows.h>, which they need.
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "bridge/history_open.h"
#include "bridge/paste_keys.h"
#include "history/own_copy.h"
#include "language/interface_strings.h"
#include "language/menu_translation.h"
#include "log/event_log.h"
#include "pane/pane_actions.h"
#include "pane/pane_texts.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_menu.h"
#include "res/resource.h"

namespace wlk::pane {

using platform::win32::AsWide;

namespace {

constexpr UINT kStepMs = 100;
constexpr UINT kReselectMs = 700;
constexpr DWORD kCountBoxMs = 3000;
constexpr int kInsertSound = 0;
// Commands the pane hands to the tray window.
constexpr UINT kCmdEditPhrases = 32772;
constexpr UINT kCmdRequestMenu = 32844;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

void SignalEvent(const char16_t* name) {
    if (auto event = platform::Current().sync.OpenEvent(name, platform::EventAccess::ModifyState))
        event->Set();
}

// Gives the window the keyboard the way a click would: its thread's input is
// attached for the moment of the calls.
bool ActivateWindow(HWND window) {
    if (!window || !IsWindow(window)) return false;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    const DWORD self = GetCurrentThreadId();
    const bool attached = thread != self && AttachThreadInput(self, thread, TRUE);
    SetActiveWindow(window);
    const bool foreground = SetForegroundWindow(window);
    SetFocus(window);
    if (attached) AttachThreadInput(self, thread, FALSE);
    return foreground || GetForegroundWindow() == window;
}

// MessageBoxTimeoutW is not in the import libraries; a system without it
// gets a box that waits for the user.
int TimedMessageBox(HWND owner, const Text& text, UINT style, DWORD milliseconds) {
    using Function = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT, WORD, DWORD);
    // Through void(*)(), the generic function pointer of the language.
    static const auto timed = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "MessageBoxTimeoutW")));
    if (timed) return timed(owner, AsWide(text), L"Wordlark", style, 0, milliseconds);
    return MessageBoxW(owner, AsWide(text), L"Wordlark", style);
}

// The save dialog's filter: "|" parts the entries, the API wants NULs.
std::wstring DialogFilter(const Text& filter) {
    std::wstring out(AsWide(filter), filter.size());
    std::replace(out.begin(), out.end(), L'|', L'\0');
    return out + L'\0';
}

using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEW*);

// Asks where the item goes; nothing when the user cancels.
std::optional<Text> AskSavePath(HWND owner, const history::CCHItem& item, const Text& folder) {
    static HMODULE library = LoadLibraryW(L"comdlg32.dll");
    const auto ask = library ? reinterpret_cast<SaveDialog>(reinterpret_cast<void (*)()>(
                                   GetProcAddress(library, "GetSaveFileNameW")))
                             : nullptr;
    if (!ask) return std::nullopt;
    const SaveFilter filter = SaveFilterFor(item.Type());
    const std::wstring filterText = DialogFilter(filter.filter);
    const Text extension = filter.extension.substr(std::min<size_t>(1, filter.extension.size()));
    wchar_t path[MAX_PATH] = {};
    const Text suggested = SuggestedFileName(item);
    std::copy_n(AsWide(suggested), std::min<size_t>(suggested.size(), MAX_PATH - 1), path);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterText.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : AsWide(folder);
    dialog.lpstrDefExt = AsWide(extension);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!ask(&dialog)) return std::nullopt;
    return platform::win32::FromWide(path);
}

}  // namespace

void CWLKFloatPane::OnCommand(UINT id, bool fromToolbar) {
    switch (id) {
        case kCmdCopy:
            // The toolbar's Copy puts the item into the window the user worked in.
            if (fromToolbar)
                StartCopyInsert(list_.Selection().focused);
            else
                RunCommand(id);
            return;
        case kCmdCollapse: SetCollapsed(!collapsed_); return;
        case kCmdFix:
            fixed_ = !fixed_;
            SendMessageW(toolbar_, TB_CHECKBUTTON, kCmdFix, fixed_);
            return;
        case kCmdKeep:
        case kCmdRequestMenu: PostMessageW(tray_, WM_COMMAND, id, 0); return;
        case kCmdEditPhrases:
            PostMessageW(tray_, WM_COMMAND, id, 0);
            SetCollapsed(true);
            return;
        case kCmdClose: PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0); return;
        case kCmdSave: SaveSelection(); return;
        default: RunCommand(id); return;
    }
}

void CWLKFloatPane::RunCommand(UINT id) {
    const PaneServices services{parts_.history, rtf_, platform::WindowId(hwnd_), parts_.sound};
    const CommandOutcome outcome = RunPaneCommand(id, list_.Selection(), services);
    if (!outcome.handled) return;
    if (!outcome.done && (id == kCmdCopy || id == kCmdCopyAsPlainText || id == kCmdEmptyClipboard))
        MessageBeep(0xFFFFFFFF);
    if (outcome.refresh) Refresh();
    if (outcome.reselect) {
        reselectId_ = outcome.itemId;
        SetTimer(hwnd_, kTimerReselect, kReselectMs, nullptr);
    }
    if (outcome.showCount) ShowCount(outcome.countText, outcome.count);
}

void CWLKFloatPane::OnContextMenu(POINT point) {
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: at the focused row.
        RECT row{};
        const int focused = ListView_GetNextItem(list_.Window(), -1, LVNI_FOCUSED);
        if (focused < 0 || !ListView_GetItemRect(list_.Window(), focused, &row, LVIR_LABEL))
            GetWindowRect(list_.Window(), &row);
        else
            MapWindowPoints(list_.Window(), nullptr, reinterpret_cast<POINT*>(&row), 2);
        point = POINT{row.left + 16, row.bottom};
    }
    HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PANE_MENU));
    HMENU popup = resource ? GetSubMenu(resource, 0) : nullptr;
    if (!popup) return;
    language::LocalizeMenu(*platform::win32::Win32Menu::View(popup));
    SetMenuDefaultItem(popup, kCmdCopy, FALSE);
    const UINT chosen = UINT(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x,
                                            point.y, 0, hwnd_, nullptr));
    DestroyMenu(resource);
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    if (chosen) OnCommand(chosen, false);
}

void CWLKFloatPane::SetMenuStates(HMENU menu) {
    const history::CCHQueue& queue = parts_.history.Items();
    const PaneSelection selection = list_.Selection();
    PaneFacts facts;
    facts.searchTextEmpty = SearchText(queue, selection).empty();
    facts.collapsed = collapsed_;
    facts.fixed = fixed_;
    facts.keep = parts_.history.Exists();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == UINT(-1)) continue;
        const CommandState state = StateOf(id, queue, selection, facts);
        EnableMenuItem(menu, UINT(i), MF_BYPOSITION | (state.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, UINT(i), MF_BYPOSITION | (state.checked ? MF_CHECKED : MF_UNCHECKED));
        if (id == kCmdUndo) {
            wchar_t text[128] = {};
            GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
            const Text undo = UndoMenuText(platform::win32::FromWide(text), queue.UndoCount());
            ModifyMenuW(menu, UINT(i), MF_BYPOSITION | MF_STRING | (state.enabled ? 0 : MF_GRAYED),
                        id, AsWide(undo));
        }
    }
}

// One dialog per selected item, in list order; cancelling one ends the command.
void CWLKFloatPane::SaveSelection() {
    const history::CCHQueue& queue = parts_.history.Items();
    for (size_t position : list_.Selection().selected) {
        const history::CCHItem* item = queue.Newest(position);
        if (!item) continue;
        const auto path = AskSavePath(hwnd_, *item, parts_.settings.ReadSaveFolder());
        if (!path) return;
        parts_.settings.WriteSaveFolder(path->substr(0, path->rfind(u'\\') + 1));
        if (!bridge::SaveItemFile(*item, *path))
            Log().Write(u"Float pane: cannot save the item to " + *path);
    }
}

void CWLKFloatPane::ShowCount(uint32_t textId, size_t count) {
    const Text text = language::GetString(textId) + u": " + ToText(int64_t(count));
    TimedMessageBox(hwnd_, text, count > 0 ? MB_ICONINFORMATION : MB_ICONWARNING, kCountBoxMs);
}

// Copy-and-insert: the copy after a moment, the window the user worked in
// brought back, and the paste after another moment.
void CWLKFloatPane::StartCopyInsert(std::optional<size_t> position) {
    const history::CCHItem* item = position ? parts_.history.Items().Newest(*position) : nullptr;
    if (!item) return;
    insertItemId_ = item->id;
    SetTimer(hwnd_, kTimerCopy, kStepMs, nullptr);
}

void CWLKFloatPane::OnCopyTimer() {
    KillTimer(hwnd_, kTimerCopy);
    const history::CCHQueue& queue = parts_.history.Items();
    const int index = queue.FindIndexById(insertItemId_);
    if (index < 0) return;  // the item went meanwhile
    SignalEvent(history::kStartCopyEventName);
    const size_t position = queue.Count() - 1 - size_t(index);
    if (CopyItem(parts_.history, position)) {
        reselectId_ = insertItemId_;
        SetTimer(hwnd_, kTimerReselect, kReselectMs, nullptr);
    }
    if (ActivateWindow(reinterpret_cast<HWND>(parts_.hook.GetTargetWindowOther())))
        SetTimer(hwnd_, kTimerPaste, kStepMs, nullptr);
    else
        Log().Write(u"Cannot activate other window from float pane");
    SignalEvent(history::kEndCopyEventName);
}

void CWLKFloatPane::OnPasteTimer() {
    KillTimer(hwnd_, kTimerPaste);
    bridge::PasteKeys(0, bridge::kCtrlV);
    parts_.sound(kInsertSound);
    if (!fixed_) SetCollapsed(true);
}

}  // namespace wlk::pane
