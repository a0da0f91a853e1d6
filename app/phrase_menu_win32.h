// The phrase menu as the tray window uses it: the library it shows, its
// calls (the hotkey, the gesture, the history pane), the handler that shows
// it, and the carrying out of its choices. The tray window decodes its
// messages and calls in here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "app/menu_commands.h"
#include "app/menu_services_win32.h"
#include "app/modal_loops.h"
#include "app/target_requests.h"
#include "bridge/clipboard_snapshot.h"
#include "bridge/insert_command.h"
#include "history/clipboard_history.h"
#include "menu/menu_handler_win32.h"
#include "phrases/command_tree.h"
#include "phrases/phrase_library.h"
#include "phrases/prompt_dialog_win32.h"
#include "phrases/rtf_expansion_win32.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"

namespace wlk::app {

struct PhraseMenuParts {
    settings::Settings& settings;
    CWLKMenuServices& services;
    history::ClipboardHistory& history;
    ModalLoops& loops;
    SpecialCommands special;
    std::function<void(int sound)> playSound;
};

class CWLKPhraseMenu {
public:
    explicit CWLKPhraseMenu(PhraseMenuParts parts);

    // The tray window, which gets the menu's choices; set when it is created.
    void Attach(HINSTANCE instance, HWND tray);
    // Receives the target's facts and shows the menu; made on first use.
    menu::IDataNeededHander_MenuSelf& Handler();
    bool IsShown() const { return handler_ && handler_->IsMenuShown(); }

    // Calls the menu for the window in front (trigger 0: the hotkey, 1: any
    // other way); false when none is on its way.
    bool Call(uintptr_t trigger);
    TargetRequests& Requests() { return requests_; }
    // A choice of the menu, or a command another process sent.
    void RunCommand(int32_t command, platform::WindowId target);
    void RunItemCommand(int action, uint32_t commandId);
    // A second press of the hotkey; false when no menu is open.
    bool Close() { return handler_ && handler_->CloseMenu(); }
    void HideToolTip() {
        if (handler_) handler_->HideMenuToolTip();
    }

    // Loads the phrases folder again once no menu shows the old library.
    void ReloadLibrary();
    phrases::PhraseCounts Counts() const { return counts_; }

private:
    PhraseMenuParts parts_;
    HINSTANCE instance_ = nullptr;
    HWND tray_ = nullptr;
    phrases::CWLKCommandTree library_;
    phrases::PhraseCounts counts_;
    std::unique_ptr<menu::IDataNeededHander_MenuSelf> handler_;
    TargetRequests requests_;
    // What a cancelled menu puts back: taken at every call of the menu.
    bridge::ClipboardSnapshot snapshot_;
    phrases::Win32RtfExpander rtf_;
    phrases::Win32PromptDialog prompt_;
    bridge::CWLKInserter inserter_;
    CWLKMenuCommands commands_;
};

}  // namespace wlk::app
