// The phrase editor's entry point: one editor at a time, so that two never
// write the same file; a second start hands its options to the first.
#include <windows.h>

#include <cwchar>

#include "app/phrase_editor.h"
#include "editor/editor_window_win32.h"
#include "language/language_switch.h"
#include "phrases/macro_sources_win32.h"
#include "platform/platform.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings.h"
// After <windows.h>.
#include <commctrl.h>

namespace {

constexpr wchar_t kInstanceMutexName[] = L"Local\\Wordlark_PhraseEditor_Running";

bool HandToRunningEditor(const wchar_t* commandLine) {
    HWND running = nullptr;
    // The first editor may still be loading: its window shows when it is ready.
    for (int attempt = 0; attempt < 100 && !running; ++attempt) {
        running = FindWindowW(wlk::editor::kEditorWindowClass, nullptr);
        if (running && !IsWindowVisible(running)) running = nullptr;
        if (!running) Sleep(100);
    }
    if (!running) return false;
    COPYDATASTRUCT data{0, DWORD((std::wcslen(commandLine) + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(commandLine)};
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                        5000, &answer);
    return true;
}

// The program rereads its settings and phrases when the editor ends.
void SignalEditorEnded() {
    auto& sync = wlk::platform::Current().sync;
    if (auto event = sync.OpenEvent(wlk::app::kEditorEndedEventName,
                                    wlk::platform::EventAccess::ModifyState))
        event->Set();
}

int RunEditor(HINSTANCE instance, const wchar_t* commandLine) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    auto& settings = wlk::settings::Settings::Instance();
    wlk::language::ReloadLanguage(settings);
    wlk::editor::EditorWindow window;
    if (!window.Create(instance, settings.GetPhrasesFolder())) return 1;
    window.Apply(wlk::editor::ParseEditorOptions(wlk::platform::win32::FromWide(commandLine)));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(window.Window(), window.Accelerators(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    wlk::platform::win32::InstallWin32Platform();
    wlk::phrases::InstallMacroSources();
    HANDLE running = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    if (running && GetLastError() == ERROR_ALREADY_EXISTS && HandToRunningEditor(commandLine)) {
        CloseHandle(running);
        return 0;
    }
    const int code = RunEditor(instance, commandLine);
    SignalEditorEnded();
    if (running) CloseHandle(running);
    return code;
}
