#include "app/phrase_menu_win32.h"

#include "app/sound_player.h"
#include "app/tray_commands.h"

namespace wlk::app {

CWLKPhraseMenu::CWLKPhraseMenu(PhraseMenuParts parts)
    : parts_(std::move(parts)),
      requests_(parts_.services.Hook(), parts_.services.Queries(), parts_.loops),
      inserter_(bridge::InserterParts{library_, parts_.settings, snapshot_, rtf_, prompt_,
                                      [this] { return parts_.history.Queue(); }, parts_.playSound}),
      commands_(inserter_, snapshot_, parts_.special) {}

void CWLKPhraseMenu::Attach(HINSTANCE instance, HWND tray) {
    instance_ = instance;
    tray_ = tray;
    requests_.Attach(platform::WindowId(tray), &Handler());
}

menu::IDataNeededHander_MenuSelf& CWLKPhraseMenu::Handler() {
    if (!handler_)
        handler_ = std::make_unique<menu::IDataNeededHander_MenuSelf>(menu::MenuHandlerParts{
            instance_, tray_, kMsgCommandFromSelf, kMsgHistoryEntryCommand, library_,
            parts_.settings, rtf_, [this] { return parts_.history.Queue(); },
            [this] { return commands_.ClipboardAtCall(); }});
    return *handler_;
}

bool CWLKPhraseMenu::Call(uintptr_t trigger) {
    if (!requests_.MayCall()) return false;
    parts_.playSound(int(Sound::HotkeyAccepted));
    commands_.OnMenuCalled();
    const bridge::QueryResult result = requests_.Request(trigger);
    // No menu comes: the snapshot must not be put back by a later command.
    if (result == bridge::QueryResult::NotSent) snapshot_.ClearRestore();
    return result == bridge::QueryResult::ContextReady;
}

// The argument of a command is its target window; WM_COPYDATA carries it in
// 32 bits, which Windows widens by sign extension.
void CWLKPhraseMenu::RunCommand(int32_t command, platform::WindowId target) {
    ModalLoops::Scope insertion(parts_.loops);
    auto& handler = Handler();
    if (commands_.Run(command, target, handler.LastContext(), handler.HonoursLayoutMacros()) ==
        bridge::InsertResult::Phrase)
        handler.SetLastUsed(uint32_t(command));
}

void CWLKPhraseMenu::RunItemCommand(int action, uint32_t commandId) {
    commands_.RunItemCommand(
        action, commandId,
        bridge::ItemSources{library_, parts_.history.Queue(), rtf_, platform::WindowId(tray_)});
}

// An open menu shows items of the library: it is reloaded once the menu is gone.
void CWLKPhraseMenu::ReloadLibrary() {
    parts_.loops.WhenIdle([this] {
        counts_ = phrases::LoadPhraseLibrary(library_);
        if (handler_) handler_->OnLibraryReloaded();
    });
}

}  // namespace wlk::app
