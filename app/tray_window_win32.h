// CWLKTrayWnd: the program's one top-level window. It is never shown; it owns
// the tray icon, the hotkey and the tray menu, and every request reaches the
// program through its window procedure.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/command_line.h"
#include "app/history_sequence.h"
#include "app/hotkey.h"
#include "app/menu_services_win32.h"
#include "app/modal_loops.h"
#include "app/modal_windows_win32.h"
#include "app/phrase_menu_win32.h"
#include "app/session_change.h"
#include "app/sound_player.h"
#include "app/tray_exit_win32.h"
#include "app/tray_icon_win32.h"
#include "app/tray_texts.h"
#include "history/clipboard_history_win32.h"
#include "history/clipboard_windows_win32.h"
#include "info/about_window_win32.h"
#include "pane/float_pane_win32.h"
#include "platform/sync.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"
#include "web/update_service_win32.h"

namespace wlk::app {

class CWLKTrayWnd {
public:
    CWLKTrayWnd(std::shared_ptr<platform::Event> instanceEvent, bool noinstall,
                const CommandLineOptions& options, settings::Settings& settings);
    CWLKTrayWnd(const CWLKTrayWnd&) = delete;
    CWLKTrayWnd& operator=(const CWLKTrayWnd&) = delete;
    ~CWLKTrayWnd();

    bool Create(HINSTANCE instance);

    bool InstallServices(bool interactive, Text& errorText);
    void UninstallServices();
    void UpdateTrayIcon(TrayIconMode mode, const Text& balloon = Text(), bool warning = false);
    void ShowBalloon(const Text& text, UINT milliseconds);
    void HideBalloon();
    void ShowTrayMenu(POINT point);
    void StartPhraseEditor(bool addFromClipboard, bool firstRun, bool addSelectedText,
                           const Text& selectedText);
    void Sound(app::Sound sound) { sound_.Play(sound); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnDestroy();
    LRESULT OnAddTrayIcon();
    void OnTrayIcon(LPARAM lParam);
    void AfterPhraseMenu(std::function<void()> show);
    void OnHotkey(WPARAM id);
    void CallPhraseMenu(uintptr_t trigger, const Text& balloon = Text());
    void OnTimer(WPARAM id);
    void OnCommand(UINT id);
    void OnToggleCommand(UINT id);
    void OnOpenWebPage(UINT id);
    void OnInstanceMessage(WPARAM wParam);
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT id, UINT flags);
    void OnCopyData(const COPYDATASTRUCT* data);
    void OnEditorState(WPARAM state);
    void OnShowTrayMenuInForeground();
    void OnSessionChange(WPARAM reason, LPARAM sessionId);
    void OnClipboardNotify(const history::ClipboardNotify& notify);
    void OnEndSession(WPARAM ending, LPARAM flags);
    void ShowMessage(const Text& text, UINT icon);
    void OnEnableMenuOfPhrases();
    LRESULT ClipboardHandlerAddress();
    void OnLanguageSwitched(bool showMenuAgain);
    void Reread(bool reinstallServices);
    LRESULT OnCaptionMessage(LPARAM buffer) const;
    SpecialCommands MakeSpecialCommands();
    void SaveAndNotify();
    void StartWelcomeProgram();
    TrayFacts Facts() const;
    info::ProgramState AboutState();

    HWND hwnd_ = nullptr;
    HINSTANCE instance_ = nullptr;
    std::shared_ptr<platform::Event> instanceEvent_;
    bool noinstall_;
    const CommandLineOptions& options_;
    settings::Settings& settings_;
    TrayIcon icon_;
    SoundPlayer sound_;
    CWLKMenuServices services_;
    // The phrase menu, an insertion, the tray menu or a message box running
    // its own message loop on this thread.
    ModalLoops loops_{CloseThreadMenusAndDialogs};
    CWLKTrayExit exit_{loops_};
    DoublePressRule doublePress_;
    POINT lastTrayPoint_{};
    UINT selectedCommand_ = 0;
    std::vector<Text> startupNotes_;
    history::CWLKClipboardHistory history_;
    HistorySequenceRule historySequence_;
    Text languageAtEditorStart_;
    web::CWLKUpdateService updates_{settings_};
    pane::CWLKFloatPane pane_{pane::FloatPaneParts{
        history_, settings_, services_.Hook(), [this](int sound) { Sound(app::Sound(sound)); }}};
    CWLKPhraseMenu phraseMenu_{PhraseMenuParts{settings_, services_, history_, loops_,
                                               MakeSpecialCommands(),
                                               [this](int sound) { Sound(app::Sound(sound)); }}};
    info::CWLKAboutWindow about_{settings_, [this] { return AboutState(); }};
};

}  // namespace wlk::app
