// CWLKFloatPane: the clipboard history as a small tool window beside the
// user's work. A search field on top filters the rows as the user types; the
// list shows the history newest first; a double-click or Return puts an item
// back into the window the user worked in. The pane never owns items: it
// shows the tray window's history and changes it through it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "bridge/dll_service.h"
#include "history/clipboard_history.h"
#include "pane/pane_list_win32.h"
#include "pane/rtf_editor_win32.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"

namespace wlk::pane {

struct FloatPaneParts {
    history::ClipboardHistory& history;
    settings::Settings& settings;
    bridge::CWLKDLLService& hook;  // names the window the user worked in
    std::function<void(int)> sound;
};

enum PaneTimer : uintptr_t {
    kTimerCopy = 2334,
    kTimerPaste = 2335,
    kTimerHoverExpand = 2336,
    kTimerReselect = 2337,
};

class CWLKFloatPane {
public:
    explicit CWLKFloatPane(FloatPaneParts parts) : parts_(std::move(parts)) {}
    ~CWLKFloatPane() { Destroy(); }
    CWLKFloatPane(const CWLKFloatPane&) = delete;
    CWLKFloatPane& operator=(const CWLKFloatPane&) = delete;

    // Makes the pane when there is none (owned by `tray`) and shows it
    // expanded; with `activate` it also gets the keyboard.
    bool Show(HINSTANCE instance, HWND tray, bool activate = true);
    void Destroy();
    bool Exists() const { return hwnd_ != nullptr; }
    // The history changed: the rows are counted and drawn anew.
    void OnHistoryChanged();
    // The interface language changed: the texts anew.
    void OnLanguageChanged();
    // A pane that left the screen comes back (when the tray menu opens).
    void KeepOnScreen();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnChildMessage(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    bool Create(HINSTANCE instance, HWND tray);
    void CreateToolbar(HINSTANCE instance);
    void Layout();
    void OnNotify(NMHDR& header, LRESULT& result);
    void OnTimer(UINT_PTR id);
    void OnActivate(WPARAM state, HWND other);
    void OnMoved();
    bool OnKey(HWND child, WPARAM key);
    void OnSearchChanged();
    void OnEscape();
    void SetCollapsed(bool on);
    void ExpandOnHover();

    // Commands (float_pane_commands_win32.cpp).
    void OnCommand(UINT id, bool fromToolbar);
    void OnContextMenu(POINT point);
    void SetMenuStates(HMENU menu);
    void RunCommand(UINT id);
    void SaveSelection();
    void ShowCount(uint32_t textId, size_t count);
    void StartCopyInsert(std::optional<size_t> position);
    void OnCopyTimer();
    void OnPasteTimer();
    void Refresh();
    Text Query() const;
    TooltipLabels TooltipTexts() const;

    FloatPaneParts parts_;
    HWND hwnd_ = nullptr;
    HWND tray_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND search_ = nullptr;
    HWND status_ = nullptr;
    HWND lastFocus_ = nullptr;  // the child that had the keys when the pane lost them
    PaneList list_;
    Win32RtfEditor rtf_;
    bool collapsed_ = false;
    bool fixed_ = false;
    int expandedHeight_ = 0;
    uint32_t insertItemId_ = 0;  // the item a copy-and-insert puts in
    uint32_t reselectId_ = 0;
    Text tooltip_;              // the toolbar tooltip being shown
    std::vector<Text> labels_;  // the toolbar buttons' texts
};

}  // namespace wlk::pane
