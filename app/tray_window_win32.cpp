#include "app/tray_window_win32.h"

#include "app/app_globals.h"
#include "app/change_listeners.h"
#include "app/copy_data_command.h"
#include "app/delayed_history.h"
#include "app/input_desktop_win32.h"
#include "app/instance_control.h"
#include "app/phrase_editor.h"
#include "app/phrase_editor_win32.h"
#include "app/session_change_win32.h"
#include "app/tray_commands.h"
#include "app/tray_messages_win32.h"
#include "app/tray_threads.h"
#include "language/interface_strings.h"
#include "language/language_switch.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/security.h"
#include "platform/win32/wide.h"
#include "res/resource.h"
#include "settings/program_location.h"

namespace wlk::app {

using platform::win32::AsWide;

namespace {

constexpr wchar_t kClassName[] = L"WordlarkTrayWindow_7B11E8E0";
constexpr UINT kHotkeyBalloonMs = 3000;
constexpr UINT kNoticeBalloonMs = 3000;
constexpr DWORD kExitDelayMs = 500;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

}  // namespace

CWLKTrayWnd::CWLKTrayWnd(std::shared_ptr<platform::Event> instanceEvent, bool noinstall,
                         const CommandLineOptions& options, settings::Settings& settings)
    : instanceEvent_(std::move(instanceEvent)),
      noinstall_(noinstall),
      options_(options),
      settings_(settings),
      sound_(settings),
      services_(settings) {}

CWLKTrayWnd::~CWLKTrayWnd() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool CWLKTrayWnd::Create(HINSTANCE instance) {
    instance_ = instance;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    CreateWindowExW(0, kClassName, L"Wordlark", WS_OVERLAPPED, -100, -100, 95, 95, nullptr, nullptr,
                    instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK CWLKTrayWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<CWLKTrayWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<CWLKTrayWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CWLKTrayWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= 0xC000 && OnRegisteredMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_HOTKEY: OnHotkey(wParam); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
        case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return 0;
        case WM_MENUSELECT: OnMenuSelect(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_COPYDATA: OnCopyData(reinterpret_cast<COPYDATASTRUCT*>(lParam)); return TRUE;
        case WM_WTSSESSION_CHANGE: OnSessionChange(wParam, lParam); return 0;
        case WM_ENDSESSION: OnEndSession(wParam, lParam); return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->idFrom == history::kClipboardHandlerId)
                OnClipboardNotify(*reinterpret_cast<const history::ClipboardNotify*>(lParam));
            return 0;
        case kMsgAddTrayIcon: return OnAddTrayIcon();
        case kMsgTrayIcon: OnTrayIcon(lParam); return 0;
        case kMsgEditorState: OnEditorState(wParam); return 0;
        case kMsgEditorEnded:
            Log().Write(u"Detected event: PhraseEditor closed");
            Reread(false);
            return 0;
        case kMsgDelayedHistory: return history_.Ensure() ? 1 : 0;
        case kMsgCommandFromSelf:
            Log().Write(u"CWLKTrayWnd::OnWmCommandFromSelf");
            phraseMenu_.RunCommand(int32_t(wParam), platform::WindowId(lParam));
            return 0;
        case kMsgNoMenuOpen: return phraseMenu_.IsShown() ? 0 : 1;
        case kMsgCaption: return OnCaptionMessage(lParam);
        case kMsgHideMenuTooltip: phraseMenu_.HideToolTip(); return 0;
        case kMsgDataNeeded:
            return phraseMenu_.Requests().OnDataNeeded(
                *reinterpret_cast<const bridge::TargetContext*>(wParam),
                *reinterpret_cast<bridge::QueryAnswer*>(lParam));
        case kMsgClipboardHandler: return ClipboardHandlerAddress();
        case kMsgQueryFailed: services_.OnQueryFailed(); return 0;
        case kMsgHistoryEntryCommand:
            phraseMenu_.RunItemCommand(int(wParam), uint32_t(lParam));
            return 0;
        case kMsgShowHistoryPane: pane_.Show(instance_, hwnd_); return 0;
        case kMsgMenuHandler:
            Log().Write(Format(u"Message WM_APP+%d not handled in this build",
                               {ToText(int64_t(message - kWmApp))}));
            return 0;
        case kMsgUpdateResult:
            HideBalloon();
            updates_.OnWorkerMessage(wParam, lParam);
            return 0;
        case kMsgRefreshIcon:
            UpdateTrayIcon(TrayIconMode::Refresh);
            if (web::CWLKUpdateService::Connected())
                PostMessageW(hwnd_, WM_COMMAND, kCmdCheckForUpdates, 0);
            return 0;
        case kMsgHideBalloon: HideBalloon(); return 0;
        case kMsgShowTrayMenu: OnShowTrayMenuInForeground(); return 0;
        case kMsgLanguageChanged:
            language::ReloadLanguage(settings_);
            OnLanguageSwitched(false);
            return 0;
        default: return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

bool CWLKTrayWnd::OnRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == InstanceMessage()) {
        OnInstanceMessage(wParam);
    } else if (message == TaskbarCreatedMessage()) {
        UpdateTrayIcon(TrayIconMode::Add);
    } else if (message == StartupNoteMessage()) {
        // Any program can post it: what it carries is no text of ours. The
        // program's own notes go into the list directly.
        Log().Write(Format(u"Start-up note message ignored: lParam=%d", {ToText(int64_t(lParam))}));
    } else if (message == GestureMessage()) {
        CallPhraseMenu(1, language::GetString(250) + u"\n" + language::GetString(231) + u"\u2026");
    } else {
        return false;
    }
    return true;
}

void CWLKTrayWnd::OnCreate() {
    Globals().trayWindow = reinterpret_cast<platform::WindowId>(hwnd_);
    history_.SetParent(hwnd_);
    icon_.Attach(hwnd_, instance_);
    phraseMenu_.Attach(instance_, hwnd_);
    StartTrayWatchers(instanceEvent_);
    ChangeWindowMessageFilter(WM_COPYDATA, MSGFLT_ADD);
    HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_WORDLARK));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (!noinstall_) {
        Text error;
        InstallServices(false, error);
    } else {
        startupNotes_.push_back(u"No install on launch. Flag specifided");
    }
    phraseMenu_.ReloadLibrary();
    if (!history_.Ensure()) StartDelayedHistory(instanceEvent_, platform::WindowId(hwnd_));
    StartTrayIconThread(instanceEvent_, platform::WindowId(hwnd_));
    if (settings_.Get(settings::IntSetting::ShowHistoryPaneOnStart))
        pane_.Show(instance_, hwnd_, false);
    if (settings_.IsFirstRun()) StartFirstRunThread(instanceEvent_);
    updates_.Attach(hwnd_, instance_, instanceEvent_, [this] {
        return HotkeyText(HotkeyFromSetting(settings_.Get(settings::IntSetting::Hotkey)), false);
    });
    updates_.ScheduleAutoCheck();
    SetWindowPos(hwnd_, nullptr, -100, -100, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_HIDE);
    RegisterForSessionChanges(hwnd_);
    if (options_.edit()) PostMessageW(hwnd_, WM_COMMAND, kCmdEditPhrases, 0);
    if (options_.cfu()) PostMessageW(hwnd_, WM_COMMAND, kCmdCheckForUpdates, 0);
    if (options_.showmenu()) PostMessageW(hwnd_, kMsgShowTrayMenu, 0, 0);
    if (!settings_.ReadWelcomeStarted()) StartWelcomeProgram();
}

void CWLKTrayWnd::StartWelcomeProgram() {
    Text welcome = settings::ProgramFolder() + settings::kWelcomeProgramFile;
    // A missing program would only bring up the shell's error box.
    if (platform::Current().files.Kind(welcome) != platform::PathKind::File) return;
    ShellExecuteW(hwnd_, L"open", AsWide(welcome), L"/auto", nullptr, SW_SHOWNORMAL);
}

void CWLKTrayWnd::OnDestroy() {
    instanceEvent_->Set();
    pane_.Destroy();
    updates_.CloseWindow();
    about_.Close();
    history_.SaveNow();
    history_.Remove();
    UninstallServices();
    icon_.Remove();
    UnregisterFromSessionChanges(hwnd_);
    Globals().trayWindow = 0;
    hwnd_ = nullptr;
    PostQuitMessage(0);
}

void CWLKTrayWnd::ShowMessage(const Text& text, UINT icon) {
    ModalLoops::Scope box(loops_);
    MessageBoxW(hwnd_, AsWide(text), L"Wordlark", icon);
}

SpecialCommands CWLKTrayWnd::MakeSpecialCommands() {
    return SpecialCommands{
        [this] { StartPhraseEditor(false, false, false, Text()); },
        [this] { SendMessageW(hwnd_, WM_COMMAND, kCmdHistoryPane, 0); },
        [this] { StartPhraseEditor(false, false, true, phraseMenu_.Handler().SelText()); },
        [this] { PostMessageW(hwnd_, WM_COMMAND, kCmdSupport, 0); }};
}

bool CWLKTrayWnd::InstallServices(bool interactive, Text& errorText) {
    const bool ok =
        services_.Install(hwnd_, phraseMenu_.Handler().ProvidesAnswers(), errorText, startupNotes_);
    if (!ok && !interactive) Log().Write(errorText);
    return ok;
}

void CWLKTrayWnd::UninstallServices() {
    services_.Uninstall();
}

TrayFacts CWLKTrayWnd::Facts() const {
    return TrayFacts{platform::win32::RunsAsAdministrator(), services_.IsInstalled(),
                     services_.HotkeyName(), settings_.GetPhrasesFolder()};
}

void CWLKTrayWnd::UpdateTrayIcon(TrayIconMode mode, const Text& balloon, bool warning) {
    icon_.Update(mode, Facts(), balloon, warning);
}

LRESULT CWLKTrayWnd::OnAddTrayIcon() {
    const TrayFacts facts = Facts();
    if (!icon_.Update(TrayIconMode::Add, facts)) {
        Log().Write(u"ERROR: cannot install tray icon");
        return 0;
    }
    Sound(facts.admin ? Sound::StartedAsAdmin : Sound::Started);
    return 1;
}

void CWLKTrayWnd::ShowBalloon(const Text& text, UINT milliseconds) {
    icon_.ShowBalloon(Facts(), text, milliseconds);
}

void CWLKTrayWnd::HideBalloon() {
    icon_.HideBalloon();
}

void CWLKTrayWnd::OnInstanceMessage(WPARAM wParam) {
    if (wParam == 1) {
        ShowBalloon(language::GetString(138), kNoticeBalloonMs);
        Sleep(kExitDelayMs);
        PostMessageW(hwnd_, WM_COMMAND, kCmdExit, 0);
        return;
    }
    if (!services_.IsInstalled()) {
        Text error;
        InstallServices(false, error);
        history_.Ensure();
    }
    Sound(Sound::AlreadyWorks);
    ShowBalloon(language::GetString(137), kNoticeBalloonMs);
}

void CWLKTrayWnd::OnHotkey(WPARAM id) {
    if (id != kHotkeyId) return;
    if (!InputDesktopIsActive()) {
        Log().Write(u"SKIP HOTKEY. Input desktop is INACTIVE");
        return;
    }
    Log().Write(u"Input desktop is active");
    if (phraseMenu_.Close()) return;
    if (!doublePress_.Accept(settings_.Get(settings::IntSetting::HotkeyDoubled) != 0,
                             GetTickCount()))
        return;
    if (!services_.IsInstalled()) return;
    const bool balloon = settings_.Get(settings::IntSetting::ShowTrayBallonOnHotkey) != 0;
    CallPhraseMenu(0, balloon ? HotkeyBalloon(services_.HotkeyName()) : Text());
}

// The hotkey, the mouse gesture and the history pane call the menu alike.
void CWLKTrayWnd::CallPhraseMenu(uintptr_t trigger, const Text& balloon) {
    if (!balloon.empty()) ShowBalloon(balloon, kHotkeyBalloonMs);
    if (!phraseMenu_.Call(trigger)) HideBalloon();
}

void CWLKTrayWnd::OnTimer(WPARAM id) {
    KillTimer(hwnd_, id);
    switch (id) {
        case kTimerBalloon: HideBalloon(); break;
        case kTimerMenuFromPane:
            CallPhraseMenu(1);
            pane_.OnHistoryChanged();
            break;
        case kTimerPanePreview:
            if (selectedCommand_ == kCmdHistoryPane) pane_.Show(instance_, hwnd_, false);
            break;
        case kTimerQueryFallback: phraseMenu_.Requests().OnFallbackTimer(); break;
        case kTimerExitWait: exit_.OnTimer(hwnd_); break;
        case web::kTimerAutoCheck: updates_.OnAutoCheckTimer(); break;
        default: break;
    }
}

// What a simulated copy needs to keep its own change out of the history.
LRESULT CWLKTrayWnd::ClipboardHandlerAddress() {
    return reinterpret_cast<LRESULT>(history_.Handler());
}

// Any program can send or post WM_APP + 7: its lParam is never written
// through. It answers the caption's length only.
LRESULT CWLKTrayWnd::OnCaptionMessage(LPARAM buffer) const {
    if (buffer)
        Log().Write(
            Format(u"WM_APP+7: no caption is written to lParam=%d", {ToText(int64_t(buffer))}));
    return LRESULT(TrayCaption(services_.IsInstalled()).size());
}

// What the phrase editor may have changed: the settings, the language, the
// phrases; after the editor ran from here, the hotkey and the services too.
void CWLKTrayWnd::Reread(bool reinstallServices) {
    loops_.WhenIdle([this, reinstallServices] {
        settings_.Load();
        language::ReloadLanguage(settings_);
        phraseMenu_.ReloadLibrary();
        if (reinstallServices) {
            UninstallServices();
            Text error;
            InstallServices(false, error);
        }
        history_.Ensure();
        const bool languageChanged = settings_.Language() != languageAtEditorStart_;
        UpdateTrayIcon(reinstallServices && languageChanged ? TrayIconMode::Modify
                                                            : TrayIconMode::Refresh);
    });
}

void CWLKTrayWnd::OnLanguageSwitched(bool showMenuAgain) {
    ChangeListeners::Instance().Broadcast(kLanguageChanged, 0);
    pane_.OnLanguageChanged();
    UpdateTrayIcon(TrayIconMode::Modify);
    if (showMenuAgain) ShowTrayMenu(lastTrayPoint_);
}

void CWLKTrayWnd::OnEnableMenuOfPhrases() {
    if (!services_.IsInstalled()) {
        Text error;
        if (!InstallServices(true, error) && !error.empty())
            ShowMessage(u"ERROR\n\n" + error, MB_ICONERROR);
    } else {
        UninstallServices();
    }
    UpdateTrayIcon(TrayIconMode::Modify);
}

void CWLKTrayWnd::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data) return;
    if (auto command = ParseCopyDataCommand(data->lpData, data->cbData))
        phraseMenu_.RunCommand(command->command, platform::WindowId(intptr_t(command->argument)));
}

void CWLKTrayWnd::StartPhraseEditor(bool addFromClipboard, bool firstRun, bool addSelectedText,
                                    const Text& selectedText) {
    LaunchPhraseEditor(hwnd_, settings_, selectedText,
                       PhraseEditorParameters(addFromClipboard, firstRun, addSelectedText));
}

void CWLKTrayWnd::OnEditorState(WPARAM state) {
    switch (EditorState(state)) {
        case EditorState::StartFailed:
            ShowMessage(u"Cannot start settings module", MB_ICONERROR);
            break;
        case EditorState::Started: languageAtEditorStart_ = settings_.Language(); break;
        case EditorState::Ended: Reread(true); break;
    }
}

void CWLKTrayWnd::OnSessionChange(WPARAM reason, LPARAM sessionId) {
    Log().SetSourceTag(u"CWLKTrayWnd::OnWmWTSSessionChange");
    history_.OnSessionChange(LogSessionChange(uint32_t(reason), int64_t(sessionId)));
    ChangeListeners::Instance().Broadcast(kSessionChanged, int(reason));
    Log().ClearSourceTag();
}

void CWLKTrayWnd::OnClipboardNotify(const history::ClipboardNotify& notify) {
    const history::CCHQueue* queue = history_.Queue();
    if (!queue) return;
    pane_.OnHistoryChanged();
    if (notify.header.code == history::CHN_HISTORY_CHANGED) {
        if (historySequence_.OnHistoryChanged(notify.extra, queue->Count()).playSound)
            Sound(Sound::HistoryAdded);
    } else if (notify.header.code == history::CHN_HISTORY_LOADED) {
        Log().Write(Format(u"History loaded: %d items", {ToText(int64_t(queue->Count()))}));
    }
}

// The process may end as soon as this returns: what is open is closed on the
// way out, and the history is written now.
void CWLKTrayWnd::OnEndSession(WPARAM ending, LPARAM flags) {
    Log().Write(Format(u"WM_ENDSESSION wParam=%d lParam=%d",
                       {ToText(int64_t(ending)), ToText(int64_t(flags))}));
    if (!ending) return;
    exit_.Request(hwnd_);
    // Still here: the exit waits for an open menu or dialog, which may outlast the session.
    if (hwnd_) history_.SaveNow();
}

}  // namespace wlk::app
