#include "app/tray_window_win32.h"

#include <wtsapi32.h>

#include <algorithm>

#include "app/app_globals.h"
#include "app/change_listeners.h"
#include "app/copy_data_command.h"
#include "app/delayed_history.h"
#include "app/event_watcher.h"
#include "app/instance_control.h"
#include "app/phrase_editor.h"
#include "app/phrase_editor_win32.h"
#include "app/tray_commands.h"
#include "app/tray_texts.h"
#include "bridge/install_report.h"
#include "bridge/interchange.h"
#include "bridge/selection_extract.h"
#include "hook/install_params.h"
#include "language/interface_strings.h"
#include "language/language_switch.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/wide.h"
#include "res/resource.h"
#include "settings/program_location.h"
#include "settings/registry_entries.h"

namespace wlk::app {

using platform::win32::AsWide;

namespace {

constexpr wchar_t kClassName[] = L"WordlarkTrayWindow_7B11E8E0";
constexpr int kHotkeyId = 1;
constexpr UINT kHotkeyBalloonMs = 3000;
constexpr UINT kNoticeBalloonMs = 3000;
constexpr DWORD kExitDelayMs = 500;
constexpr int kTrayIconTries = 200;
constexpr uint32_t kTrayIconRetryMs = 2000;

log::EventLog& Log() {
    return log::EventLog::Instance();
}

UINT RegisteredMessage(const wchar_t* name) {
    return RegisterWindowMessageW(name);
}
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisteredMessage(L"TaskbarCreated");
    return message;
}
UINT StartupNoteMessage() {
    static const UINT message = RegisteredMessage(L"{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}");
    return message;
}
UINT GestureMessage() {
    static const UINT message = RegisteredMessage(L"{CD8F8D19-9440-4b61-ADD7-980B478E41F6}");
    return message;
}

// The simulated copy that reads a target's selection, on the main thread or
// the query thread.
Text CopySelection(platform::WindowId target) {
    return bridge::ExtractSelectedText(target, Globals().trayWindow);
}

bool InputDesktopIsActive() {
    HDESK input = OpenInputDesktop(0, FALSE, MAXIMUM_ALLOWED);
    if (!input) return false;
    wchar_t inputName[256] = {};
    wchar_t ownName[256] = {};
    GetUserObjectInformationW(input, UOI_NAME, inputName, sizeof inputName, nullptr);
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, ownName,
                              sizeof ownName, nullptr);
    CloseDesktop(input);
    return lstrcmpiW(inputName, ownName) == 0;
}

}  // namespace

CWLKTrayWnd::CWLKTrayWnd(std::shared_ptr<platform::Event> instanceEvent, bool noinstall,
                         const CommandLineOptions& options, settings::Settings& settings)
    : instanceEvent_(std::move(instanceEvent)),
      noinstall_(noinstall),
      options_(options),
      settings_(settings),
      sound_(settings),
      hookService_(platform::Current().ui.RegisterMessage(hook::kQueryRequestMessageName),
                   CopySelection) {}

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
        case kMsgEditorEnded: OnEditorEnded(); return 0;
        case kMsgDelayedHistory: return EnsureClipboardHistory() ? 1 : 0;
        case kMsgCommandFromSelf:
            Log().Write(u"CWLKTrayWnd::OnWmCommandFromSelf");
            RunMenuCommand(int32_t(wParam), platform::WindowId(lParam));
            return 0;
        case kMsgNoMenuOpen: return menuHandler_ && menuHandler_->IsMenuShown() ? 0 : 1;
        case kMsgCaption: return LRESULT(CopyCaption(reinterpret_cast<wchar_t*>(lParam)));
        case kMsgDataNeeded:
            return targetRequests_.OnDataNeeded(
                *reinterpret_cast<const bridge::TargetContext*>(wParam),
                *reinterpret_cast<bridge::QueryAnswer*>(lParam));
        case kMsgClipboardHandler: return ClipboardHandlerAddress();
        case kMsgQueryFailed: OnQueryFailed(); return 0;
        case kMsgHistoryEntryCommand: OnItemCommand(int(wParam), uint32_t(lParam)); return 0;
        case kMsgMenuHandler:
        case kMsgUpdateResult:
        case kMsgShowHistoryPane:
            // Their receivers (the phrase menu, the update check, the history
            // pane) are not part of this build yet.
            Log().Write(Format(u"Message WM_APP+%d not handled in this build",
                               {ToText(int64_t(message - kWmApp))}));
            return 0;
        case kMsgRefreshIcon: UpdateTrayIcon(TrayIconMode::Refresh); return 0;
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
        if (lParam) startupNotes_.push_back(reinterpret_cast<const char16_t*>(lParam));
    } else if (message == GestureMessage()) {
        ShowBalloon(language::GetString(250) + u"\n" + language::GetString(231) + u"\u2026",
                    kHotkeyBalloonMs);
        Sound(Sound::HotkeyAccepted);
        menuCommands_.OnMenuCalled();
        if (targetRequests_.Request(1) != bridge::QueryResult::ContextReady) HideBalloon();
    } else {
        return false;
    }
    return true;
}

void CWLKTrayWnd::OnCreate() {
    Globals().trayWindow = reinterpret_cast<platform::WindowId>(hwnd_);
    StartWatchers();
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
    ReloadPhrases();
    if (!EnsureClipboardHistory()) StartDelayedHistory(instanceEvent_, platform::WindowId(hwnd_));
    StartTrayIconThread();
    if (settings_.IsFirstRun()) StartFirstRunThread();
    sound_.Start(instanceEvent_);
    SetWindowPos(hwnd_, nullptr, -100, -100, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_HIDE);
    if (WTSRegisterSessionNotification(hwnd_, NOTIFY_FOR_THIS_SESSION))
        Log().Write(u"WTS_Notify successfully installed");
    else
        Log().WriteError(u"WTS_Notify NOT installed");
    if (options_.edit()) PostMessageW(hwnd_, WM_COMMAND, kCmdEditPhrases, 0);
    if (options_.cfu()) PostMessageW(hwnd_, WM_COMMAND, kCmdCheckForUpdates, 0);
    if (options_.showmenu()) PostMessageW(hwnd_, kMsgShowTrayMenu, 0, 0);
    if (!settings_.ReadWelcomeStarted()) StartWelcomeProgram();
}

void CWLKTrayWnd::StartWatchers() {
    auto& sync = platform::Current().sync;
    auto event = [&sync](const char16_t* name, bool manualReset) {
        return sync.CreateEvent(name, manualReset, false, platform::Security::Everyone);
    };
    auto watch = [this](std::unique_ptr<platform::Event> e, uint32_t message, uintptr_t wParam,
                        bool post) {
        WatchedEvent watched;
        watched.event = std::move(e);
        watched.message = message;
        watched.wParam = wParam;
        watched.post = post;
        StartEventWatcher(instanceEvent_, std::move(watched));
    };
    watch(event(u"Local\\Wordlark_LangUI_Changed", false), kMsgLanguageChanged, 0, false);
    watch(event(kCheckForUpdatesEventName, false), WM_COMMAND, kCmdCheckForUpdates, false);
    watch(event(kEditorEndedEventName, false), kMsgEditorEnded, 0, true);
    watch(event(u"Local\\Wordlark_CommandCheckForUpdates", true), WM_COMMAND, kCmdCheckForUpdates,
          false);
    watch(event(kEditorRequestEventName, true), WM_COMMAND, kCmdEditPhrases, true);
    watch(event(kShowMenuEventName, false), kMsgShowTrayMenu, 0, true);
}

void CWLKTrayWnd::StartTrayIconThread() {
    auto& p = platform::Current();
    HWND window = hwnd_;
    p.threads.Start([&p, window, instance = instanceEvent_] {
        platform::Event* events[] = {instance.get()};
        for (int tries = 0; tries < kTrayIconTries; ++tries) {
            if (SendMessageW(window, kMsgAddTrayIcon, 0, 0)) return;
            if (p.sync.WaitAny(events, kTrayIconRetryMs) != platform::kWaitTimeout) return;
        }
    });
}

void CWLKTrayWnd::StartFirstRunThread() {
    if (settings::RunsFromPortableDrive()) return;
    auto& p = platform::Current();
    p.threads.Start([&p, instance = instanceEvent_] {
        platform::Event* events[] = {instance.get()};
        if (p.sync.WaitAny(events, 1000) == platform::kWaitTimeout)
            settings::SetStartWithWindows(true);
    });
}

void CWLKTrayWnd::StartWelcomeProgram() {
    Text welcome = settings::ProgramFolder() + u"Wordlark_Welcome.exe";
    // A missing program would only bring up the shell's error box.
    if (platform::Current().files.Kind(welcome) != platform::PathKind::File) return;
    ShellExecuteW(hwnd_, L"open", AsWide(welcome), L"/auto", nullptr, SW_SHOWNORMAL);
}

void CWLKTrayWnd::OnDestroy() {
    instanceEvent_->Set();
    if (clipboard_) SaveClipboardHistory();
    RemoveClipboardHandler();
    UninstallServices();
    icon_.Remove();
    if (WTSUnRegisterSessionNotification(hwnd_))
        Log().Write(u"WTS_Notify successfully uninstalled");
    else
        Log().WriteError(u"WTS_Notify cannot uninstall");
    Globals().trayWindow = 0;
    hwnd_ = nullptr;
    PostQuitMessage(0);
}

menu::IDataNeededHander_MenuSelf& CWLKTrayWnd::MenuHandler() {
    if (!menuHandler_)
        menuHandler_ = std::make_unique<menu::IDataNeededHander_MenuSelf>(
            menu::MenuHandlerParts{instance_, hwnd_, kMsgCommandFromSelf, kMsgHistoryEntryCommand,
                                   phrases_, settings_, rtf_,
                                   [this]() -> history::CCHQueue* {
                                       return clipboard_ ? &clipboard_->Handler().Queue() : nullptr;
                                   },
                                   [this] { return menuCommands_.ClipboardAtCall(); }});
    return *menuHandler_;
}

bridge::InserterParts CWLKTrayWnd::MakeInserterParts() {
    return bridge::InserterParts{phrases_,
                                 settings_,
                                 snapshot_,
                                 rtf_,
                                 prompt_,
                                 [this]() -> history::CCHQueue* {
                                     return clipboard_ ? &clipboard_->Handler().Queue() : nullptr;
                                 },
                                 [this](int sound) { Sound(app::Sound(sound)); }};
}

SpecialCommands CWLKTrayWnd::MakeSpecialCommands() {
    return SpecialCommands{
        [this] { StartPhraseEditor(false, false, false, Text()); },
        [this] { SendMessageW(hwnd_, WM_COMMAND, kCmdHistoryPane, 0); },
        [this] { StartPhraseEditor(false, false, true, MenuHandler().SelText()); },
        [this] { PostMessageW(hwnd_, WM_COMMAND, kCmdSupport, 0); }};
}

bool CWLKTrayWnd::InstallServices(bool interactive, Text& errorText) {
    targetRequests_.Attach(platform::WindowId(hwnd_), &MenuHandler());
    bool writeLog = settings_.Get(settings::IntSetting::WriteLog) != 0;
    if (writeLog) {
        Log().Close();
        Log().Open(Log().LogPath());
    } else if (Log().IsOpen()) {
        Log().Close();
    }
    bool ok = queries_.Open();
    if (!ok) {
        errorText = u"ERROR: Cannot create wait objects";
    } else if (!RegisterHotkey()) {
        Log().WriteError(u"Cannot register hot key");
        UninstallServices();
        errorText = u"ERROR: Cannot register hot key " + HotkeyName();
        ok = false;
    } else if (!InstallHook(writeLog, errorText)) {
        UnregisterHotkey();
        UninstallServices();
        startupNotes_.push_back(errorText);
        ok = false;
    } else if (!queries_.StartWaiting(platform::WindowId(hwnd_), CopySelection)) {
        errorText = u"ERROR: Cannot start wait thread for query";
        UninstallServices();
        ok = false;
    }
    if (!ok && !interactive) Log().Write(errorText);
    return ok;
}

bool CWLKTrayWnd::InstallHook(bool writeLog, Text& errorText) {
    uint32_t code = 0;
    if (hookService_.InstallDLLService_IML_32(
            platform::WindowId(hwnd_), bridge::kQueryEventName, bridge::kAnswerEventName,
            bridge::kInterchangeAreaName, writeLog, code, menuHandler_->ProvidesAnswers()))
        return true;
    const Text path = bridge::CWLKDLLService::LibraryPath();
    errorText = bridge::InstallErrorReport(
        path, platform::Current().files.Kind(path) == platform::PathKind::File, code);
    return false;
}

void CWLKTrayWnd::UninstallServices() {
    UnregisterHotkey();
    hookService_.Uninstall();
    queries_.Close();
}

Text CWLKTrayWnd::HotkeyName() const {
    return HotkeyText(HotkeyFromSetting(settings_.Get(settings::IntSetting::Hotkey)),
                      settings_.Get(settings::IntSetting::HotkeyDoubled) != 0);
}

bool CWLKTrayWnd::RegisterHotkey() {
    Hotkey hotkey = HotkeyFromSetting(settings_.Get(settings::IntSetting::Hotkey));
    if (!RegisterHotKey(hwnd_, kHotkeyId, hotkey.modifiers, hotkey.key)) {
        Log().WriteError(Format(u"Cannot register hotkey. Error: %d", {ToText(GetLastError())}));
        return false;
    }
    hotkeyRegistered_ = true;
    settings_.PublishHotkey(int(hotkey.key), int(hotkey.modifiers),
                            settings_.Get(settings::IntSetting::HotkeyDoubled) != 0, Text());
    return true;
}

void CWLKTrayWnd::UnregisterHotkey() {
    if (hotkeyRegistered_) UnregisterHotKey(hwnd_, kHotkeyId);
    hotkeyRegistered_ = false;
}

bool CWLKTrayWnd::IsAdmin() const {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                  0, 0, 0, 0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    CheckTokenMembership(nullptr, administrators, &member);
    FreeSid(administrators);
    return member != FALSE;
}

void CWLKTrayWnd::UpdateTrayIcon(TrayIconMode mode, const Text& balloon, bool warning) {
    TrayFacts facts{IsAdmin(), hookService_.IsInstalled(), HotkeyName(),
                    settings_.GetPhrasesFolder()};
    icon_.Attach(hwnd_, instance_);
    icon_.Update(mode, facts.servicesOn, TrayTooltip(facts), balloon, warning);
}

LRESULT CWLKTrayWnd::OnAddTrayIcon() {
    TrayFacts facts{IsAdmin(), hookService_.IsInstalled(), HotkeyName(),
                    settings_.GetPhrasesFolder()};
    icon_.Attach(hwnd_, instance_);
    if (!icon_.Update(TrayIconMode::Add, facts.servicesOn, TrayTooltip(facts))) {
        Log().Write(u"ERROR: cannot install tray icon");
        return 0;
    }
    Sound(facts.admin ? Sound::StartedAsAdmin : Sound::Started);
    return 1;
}

void CWLKTrayWnd::ShowBalloon(const Text& text, UINT milliseconds) {
    Log().Write(u"Balloon: " + text);
    UpdateTrayIcon(TrayIconMode::Modify, text);
    SetTimer(hwnd_, kTimerBalloon, milliseconds, nullptr);
}

void CWLKTrayWnd::HideBalloon() {
    KillTimer(hwnd_, kTimerBalloon);
    icon_.HideBalloon();
}

void CWLKTrayWnd::OnTrayIcon(LPARAM lParam) {
    Log().Write(Format(u"_OnWmTrayEvent lParam=%d", {ToText(int64_t(lParam))}));
    UINT event = LOWORD(lParam);
    if (event == WM_LBUTTONUP || event == WM_RBUTTONUP || event == NIN_BALLOONUSERCLICK) {
        GetCursorPos(&lastTrayPoint_);
        ShowTrayMenu(lastTrayPoint_);
    }
}

void CWLKTrayWnd::OnInstanceMessage(WPARAM wParam) {
    if (wParam == 1) {
        ShowBalloon(language::GetString(138), kNoticeBalloonMs);
        Sleep(kExitDelayMs);
        PostMessageW(hwnd_, WM_COMMAND, kCmdExit, 0);
        return;
    }
    if (!hookService_.IsInstalled()) {
        Text error;
        InstallServices(false, error);
        EnsureClipboardHistory();
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
    if (menuHandler_ && menuHandler_->CloseMenu()) return;
    if (!doublePress_.Accept(settings_.Get(settings::IntSetting::HotkeyDoubled) != 0,
                             GetTickCount()))
        return;
    if (!hookService_.IsInstalled()) return;
    if (settings_.Get(settings::IntSetting::ShowTrayBallonOnHotkey))
        ShowBalloon(HotkeyBalloon(HotkeyName()), kHotkeyBalloonMs);
    Sound(Sound::HotkeyAccepted);
    menuCommands_.OnMenuCalled();
    switch (targetRequests_.Request(0)) {
        case bridge::QueryResult::Requested:
        case bridge::QueryResult::NotSent: HideBalloon(); break;
        case bridge::QueryResult::ContextReady: break;
        default: MessageBeep(1); break;
    }
}

void CWLKTrayWnd::OnTimer(WPARAM id) {
    KillTimer(hwnd_, id);
    if (id == kTimerBalloon) HideBalloon();
    if (id == kTimerMenuFromPane) {
        Sound(Sound::HotkeyAccepted);
        menuCommands_.OnMenuCalled();
        targetRequests_.Request(1);
    }
    if (id == kTimerQueryFallback) targetRequests_.OnFallbackTimer();
}

void CWLKTrayWnd::OnQueryFailed() {
    Log().WriteError(
        u"Reveived message WM_WAIT_QUERY_COMPLETE_ERROR, wait of query complete with error");
    queries_.Restart();
}

// What a simulated copy needs to keep its own change out of the history.
LRESULT CWLKTrayWnd::ClipboardHandlerAddress() const {
    return clipboard_ ? reinterpret_cast<LRESULT>(&clipboard_->Handler()) : 0;
}

size_t CWLKTrayWnd::CopyCaption(wchar_t* buffer) const {
    // Callers pass a buffer of MAX_PATH characters.
    constexpr size_t kCaptionChars = MAX_PATH;
    Text caption =
        u"Wordlark - " + ToUpper(language::GetString(hookService_.IsInstalled() ? 275 : 276));
    caption = caption.substr(0, kCaptionChars - 1);
    if (buffer)
        std::copy_n(caption.c_str(), caption.size() + 1, reinterpret_cast<char16_t*>(buffer));
    return caption.size();
}

void CWLKTrayWnd::ReloadPhrases() {
    phraseCounts_ = phrases::LoadPhraseLibrary(phrases_);
}

void CWLKTrayWnd::OnLanguageSwitched(bool showMenuAgain) {
    ChangeListeners::Instance().Broadcast(kLanguageChanged, 0);
    UpdateTrayIcon(TrayIconMode::Modify);
    if (showMenuAgain) ShowTrayMenu(lastTrayPoint_);
}

void CWLKTrayWnd::OnEnableMenuOfPhrases() {
    if (!hookService_.IsInstalled()) {
        Text error;
        if (!InstallServices(true, error) && !error.empty())
            MessageBoxW(hwnd_, AsWide(u"ERROR\n\n" + error), L"Wordlark", MB_ICONERROR);
    } else {
        UninstallServices();
    }
    UpdateTrayIcon(TrayIconMode::Modify);
}

void CWLKTrayWnd::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data) return;
    if (auto command = ParseCopyDataCommand(data->lpData, data->cbData))
        RunMenuCommand(command->command, platform::WindowId(intptr_t(command->argument)));
}

// The argument of a command is its target window; WM_COPYDATA carries it in
// 32 bits, which Windows widens by sign extension.
void CWLKTrayWnd::RunMenuCommand(int32_t command, platform::WindowId target) {
    auto& handler = MenuHandler();
    if (menuCommands_.Run(command, target, handler.LastContext(), handler.HonoursLayoutMacros()) ==
        bridge::InsertResult::Phrase)
        handler.SetLastUsed(uint32_t(command));
}

void CWLKTrayWnd::OnItemCommand(int action, uint32_t commandId) {
    menuCommands_.RunItemCommand(
        action, commandId,
        bridge::ItemSources{phrases_, clipboard_ ? &clipboard_->Handler().Queue() : nullptr, rtf_,
                            platform::WindowId(hwnd_)});
}

void CWLKTrayWnd::StartPhraseEditor(bool addFromClipboard, bool firstRun, bool addSelectedText,
                                    const Text& selectedText) {
    Hotkey hotkey = HotkeyFromSetting(settings_.Get(settings::IntSetting::Hotkey));
    settings_.PublishHotkey(int(hotkey.key), int(hotkey.modifiers),
                            settings_.Get(settings::IntSetting::HotkeyDoubled) != 0, selectedText);
    LaunchPhraseEditor(hwnd_, settings::ProgramFolder() + kPhraseEditorFile,
                       PhraseEditorParameters(addFromClipboard, firstRun, addSelectedText),
                       IsAdmin());
}

void CWLKTrayWnd::OnEditorState(WPARAM state) {
    switch (EditorState(state)) {
        case EditorState::StartFailed:
            MessageBoxW(hwnd_, L"Cannot start settings module", L"Wordlark", MB_ICONERROR);
            break;
        case EditorState::Started: languageAtEditorStart_ = settings_.Language(); break;
        case EditorState::Ended: {
            settings_.Load();
            ReloadPhrases();
            language::ReloadLanguage(settings_);
            UninstallServices();
            Text error;
            InstallServices(false, error);
            EnsureClipboardHistory();
            bool languageChanged = settings_.Language() != languageAtEditorStart_;
            UpdateTrayIcon(languageChanged ? TrayIconMode::Modify : TrayIconMode::Refresh);
            break;
        }
    }
}

void CWLKTrayWnd::OnEditorEnded() {
    Log().Write(u"Detected event: PhraseEditor closed");
    settings_.Load();
    language::ReloadLanguage(settings_);
    ReloadPhrases();
    if (menuHandler_) menuHandler_->ResetState();
    EnsureClipboardHistory();
    UpdateTrayIcon(TrayIconMode::Refresh);
}

void CWLKTrayWnd::OnShowTrayMenuInForeground() {
    HWND previous = GetForegroundWindow();
    DWORD previousThread = previous ? GetWindowThreadProcessId(previous, nullptr) : 0;
    DWORD ownThread = GetCurrentThreadId();
    DWORD previousProcess = 0;
    if (previous) GetWindowThreadProcessId(previous, &previousProcess);
    bool attach = previousThread && previousProcess != GetCurrentProcessId();
    if (attach) AttachThreadInput(ownThread, previousThread, TRUE);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    MessageBeep(MB_ICONASTERISK);
    POINT point;
    GetCursorPos(&point);
    ShowTrayMenu(point);
    if (previous) SetForegroundWindow(previous);
    if (attach) AttachThreadInput(ownThread, previousThread, FALSE);
}

void CWLKTrayWnd::OnSessionChange(WPARAM reason, LPARAM sessionId) {
    Log().SetSourceTag(u"CWLKTrayWnd::OnWmWTSSessionChange");
    Log().Write(Format(u"OnWmWTSSessionChange reason=%s sessionId=%d",
                       {SessionChangeName(uint32_t(reason)), ToText(int64_t(sessionId))}));
    int direction = SessionChangeDirection(uint32_t(reason));
    Log().Write(Format(u"OnWmWTSSessionChange WTS_reason=%d", {ToText(direction)}));
    if (sessionState_.ShouldRemove(direction, clipboard_ != nullptr)) {
        RemoveClipboardHandler();
        Log().Write(Format(u"OnWmWTSSessionChange: Clipboard Spy is uninstalled=%d",
                           {ToText(clipboard_ ? 0 : 1)}));
    } else if (sessionState_.ShouldRestore(direction)) {
        bool created = CreateClipboardHandler();
        Log().Write(Format(u"OnWmWTSSessionChange: Clipboard Spy is installed=%d",
                           {ToText(created ? 1 : 0)}));
    }
    ChangeListeners::Instance().Broadcast(kSessionChanged, int(reason));
    Log().ClearSourceTag();
}

// The clipboard history runs while "ClipboardHistory" is on: true when it
// runs now or is meant to be off.
bool CWLKTrayWnd::EnsureClipboardHistory() {
    if (!settings_.Get(settings::IntSetting::ClipboardHistory)) return true;
    return CreateClipboardHandler();
}

bool CWLKTrayWnd::CreateClipboardHandler() {
    if (clipboard_) return true;
    auto window = std::make_unique<history::CWLKClipboardHandlerWindow>();
    if (!window->Create(hwnd_, history::kClipboardHandlerId, true)) return false;
    clipboard_ = std::move(window);
    return true;
}

// Its window's end writes what is still unsaved.
void CWLKTrayWnd::RemoveClipboardHandler() {
    clipboard_.reset();
}

int CWLKTrayWnd::SaveClipboardHistory() {
    int saved = clipboard_->Handler().SaveNow();
    Log().Write(Format(u"History saved: %d items", {ToText(saved)}));
    return saved;
}

void CWLKTrayWnd::OnClipboardNotify(const history::ClipboardNotify& notify) {
    if (!clipboard_) return;
    const auto& queue = clipboard_->Handler().Queue();
    if (notify.header.code == history::CHN_HISTORY_CHANGED) {
        if (historySequence_.OnHistoryChanged(notify.extra, queue.Count()).playSound)
            Sound(Sound::HistoryAdded);
    } else if (notify.header.code == history::CHN_HISTORY_LOADED) {
        Log().Write(Format(u"History loaded: %d items", {ToText(int64_t(queue.Count()))}));
    }
}

// The session ends without WM_DESTROY: what the history holds is written now.
void CWLKTrayWnd::OnEndSession(WPARAM ending, LPARAM flags) {
    Log().Write(Format(u"WM_ENDSESSION wParam=%d lParam=%d",
                       {ToText(int64_t(ending)), ToText(int64_t(flags))}));
    if (ending && clipboard_) SaveClipboardHistory();
}

}  // namespace wlk::app
