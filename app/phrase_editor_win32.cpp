#include "app/phrase_editor_win32.h"

#include "app/hotkey.h"
#include "app/instance_control.h"
#include "app/phrase_editor.h"
#include "app/tray_commands.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/security.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "settings/program_location.h"

namespace wlk::app {

using platform::win32::AsWide;

namespace {

log::EventLog& Log() {
    return log::EventLog::Instance();
}

Text LastErrorText() {
    return platform::Current().system.SystemErrorText(GetLastError(), 1024);
}

// ShellExecuteExW with the editor maximised; the process handle on success.
platform::win32::UniqueHandle ShellStart(const Text& path, const Text& parameters,
                                         const wchar_t* verb) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No shell error box: the tray window tells the user itself.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb;
    info.lpFile = AsWide(path);
    info.lpParameters = AsWide(parameters);
    info.nShow = SW_SHOWMAXIMIZED;
    if (!ShellExecuteExW(&info)) return platform::win32::UniqueHandle();
    return platform::win32::UniqueHandle(info.hProcess);
}

platform::win32::UniqueHandle ProcessStart(const Text& path, const Text& parameters) {
    Text commandLine = parameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(AsWide(path),
                        commandLine.empty() ? nullptr : const_cast<wchar_t*>(AsWide(commandLine)),
                        nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return platform::win32::UniqueHandle();
    CloseHandle(process.hThread);
    return platform::win32::UniqueHandle(process.hProcess);
}

// The three ways, in turn: elevated for a user without administrator
// rights, then directly, then through the shell without elevation.
platform::win32::UniqueHandle StartEditor(const Text& path, const Text& parameters, bool admin) {
    platform::win32::UniqueHandle process;
    if (!admin) {
        Log().Write(u"Start the PhraseEditor at ShellExellExecute + query admin rights");
        process = ShellStart(path, parameters, L"runas");
        Log().Write(process
                        ? u"Succcessfully start PhraseEditor as admin"
                        : u"Cannot start PhraseEditor as admin by ShellExecute " + LastErrorText());
    }
    if (!process) {
        Log().Write(u"Start the PhraseEditor at CreateProcess");
        process = ProcessStart(path, parameters);
        Log().Write(process ? u"Succcessfully start PhraseEditor as CreateProcess"
                            : u"Cannot start PhraseEditor as CreateProcess " + LastErrorText());
    }
    if (!process) {
        Log().Write(u"Start the PhraseEditor at ShellExellExecute + NO query admin rights");
        process = ShellStart(path, parameters, L"open");
        Log().Write(process ? u"Succcessfully start PhraseEditor  as NOT admin by ShellExecute"
                            : u"Cannot start PhraseEditor as NOT admin by ShellExecute " +
                                  LastErrorText());
    }
    return process;
}

}  // namespace

void LaunchPhraseEditor(HWND tray, settings::Settings& settings, const Text& selectedText,
                        const Text& parameters) {
    const Hotkey hotkey = HotkeyFromSetting(settings.Get(settings::IntSetting::Hotkey));
    settings.PublishHotkey(int(hotkey.key), int(hotkey.modifiers),
                           settings.Get(settings::IntSetting::HotkeyDoubled) != 0, selectedText);
    const Text editorPath = settings::ProgramFolder() + settings::kPhraseEditorFile;
    const bool admin = platform::win32::RunsAsAdministrator();
    platform::Current().threads.Start([=] {
        platform::win32::UniqueHandle process = StartEditor(editorPath, parameters, admin);
        if (!process) {
            SendMessageW(tray, kMsgEditorState, WPARAM(EditorState::StartFailed), 0);
            return;
        }
        SendMessageW(tray, kMsgEditorState, WPARAM(EditorState::Started), 0);
        platform::win32::UniqueHandle instance(
            OpenEventW(SYNCHRONIZE, FALSE, reinterpret_cast<const wchar_t*>(kInstanceEventName)));
        HANDLE waits[] = {process.Get(), instance.Get()};
        DWORD result = WaitForMultipleObjects(instance ? 2 : 1, waits, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0)
            SendMessageW(tray, kMsgEditorState, WPARAM(EditorState::Ended), 0);
    });
}

}  // namespace wlk::app
