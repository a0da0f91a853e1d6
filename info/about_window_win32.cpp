#include "info/about_window_win32.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>

#include "bridge/clipboard_write.h"
#include "history/own_copy.h"
#include "info/problem_report.h"
#include "language/interface_strings.h"
#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/wide.h"
#include "res/resource.h"

namespace wlk::info {

namespace {

using platform::win32::AsWide;

constexpr uint32_t kTextTitle = 1750, kTextVersion = 1751, kTextHook = 1752,
                   kTextEditor = 1753, kTextSettings = 1754, kTextPhrases = 1755,
                   kTextCopy = 1756, kTextSave = 1757, kTextNote = 1758, kTextNotFound = 1759,
                   kTextSaveTitle = 1760, kTextZipFilter = 1761, kTextCopied = 1762,
                   kTextSaved = 1763, kTextCannotSave = 1764, kTextClose = 241;

Text Str(uint32_t id) {
    return language::GetString(id);
}

void SetText(HWND dialog, int id, const Text& text) {
    SetDlgItemTextW(dialog, id, AsWide(text));
}

Text FolderOf(const Text& path) {
    const size_t slash = path.rfind(u'\\');
    return slash == Text::npos ? path : path.substr(0, slash + 1);
}

Text DesktopFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path))) return {};
    return platform::win32::FromWide(path);
}

// The filter's pairs, each ended by a NUL, the list by a second one.
std::wstring ZipFilter() {
    std::wstring filter = AsWide(Str(kTextZipFilter));
    filter.push_back(L'\0');
    filter += L"*.zip";
    filter.push_back(L'\0');
    return filter;
}

// comdlg32 is loaded on first use, as the history pane's save does: most
// runs never show a file dialog.
using SaveDialog = BOOL(WINAPI*)(OPENFILENAMEW*);

std::optional<Text> AskReportPath(HWND owner, const Text& fileName) {
    static HMODULE library = LoadLibraryW(L"comdlg32.dll");
    const auto ask = library ? reinterpret_cast<SaveDialog>(reinterpret_cast<void (*)()>(
                                   GetProcAddress(library, "GetSaveFileNameW")))
                             : nullptr;
    if (!ask) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    std::copy_n(AsWide(fileName), std::min<size_t>(fileName.size(), MAX_PATH - 1), path);
    const std::wstring filter = ZipFilter();
    const Text title = Str(kTextSaveTitle), desktop = DesktopFolder();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = desktop.empty() ? nullptr : AsWide(desktop);
    dialog.lpstrTitle = AsWide(title);
    dialog.lpstrDefExt = L"zip";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!ask(&dialog)) return std::nullopt;
    return platform::win32::FromWide(path);
}

}  // namespace

CWLKAboutWindow::~CWLKAboutWindow() {
    Close();
}

void CWLKAboutWindow::Show(HINSTANCE instance) {
    if (!window_) {
        facts_ = ReadEnvironmentFacts(settings_, state_());
        CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
        if (!window_) {
            log::EventLog::Instance().WriteError(u"Cannot create the About window");
            return;
        }
    }
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
}

void CWLKAboutWindow::Close() {
    if (window_) DestroyWindow(window_);
    window_ = openWindow_ = nullptr;
}

INT_PTR CALLBACK CWLKAboutWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<CWLKAboutWindow*>(lParam);
        self->window_ = openWindow_ = dialog;
        self->Fill();
        return TRUE;
    }
    auto* self = reinterpret_cast<CWLKAboutWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
        case WM_COMMAND: self->OnCommand(LOWORD(wParam)); return TRUE;
        case WM_CLOSE: self->Close(); return TRUE;
        default: return FALSE;
    }
}

void CWLKAboutWindow::Fill() {
    const auto orNotFound = [](const Text& v) { return v.empty() ? Str(kTextNotFound) : v; };
    SetWindowTextW(window_, AsWide(u"Wordlark - " + Str(kTextTitle)));
    SetText(window_, IDC_ABOUT_NAME, u"Wordlark  " + Format(Str(kTextVersion), {facts_.version}));
    SetText(window_, IDC_ABOUT_HOOK_LABEL, Str(kTextHook));
    SetText(window_, IDC_ABOUT_HOOK, orNotFound(facts_.hookVersion));
    SetText(window_, IDC_ABOUT_EDITOR_LABEL, Str(kTextEditor));
    SetText(window_, IDC_ABOUT_EDITOR, orNotFound(facts_.editorVersion));
    SetText(window_, IDC_ABOUT_SETTINGS_LABEL, Str(kTextSettings));
    SetText(window_, IDC_ABOUT_SETTINGS, FolderOf(facts_.settingsPath));
    SetText(window_, IDC_ABOUT_PHRASES_LABEL, Str(kTextPhrases));
    SetText(window_, IDC_ABOUT_PHRASES, facts_.phrasesFolder);
    SetText(window_, IDC_ABOUT_COPY, Str(kTextCopy));
    SetText(window_, IDC_ABOUT_SAVE, Str(kTextSave));
    SetText(window_, IDC_ABOUT_NOTE, Str(kTextNote));
    SetText(window_, IDCANCEL, Str(kTextClose));
}

void CWLKAboutWindow::OnCommand(UINT id) {
    switch (id) {
        case IDC_ABOUT_SETTINGS: OpenFolder(FolderOf(facts_.settingsPath)); return;
        case IDC_ABOUT_PHRASES: OpenFolder(facts_.phrasesFolder); return;
        case IDC_ABOUT_COPY: CopyReport(); return;
        case IDC_ABOUT_SAVE: SaveReport(); return;
        case IDCANCEL: Close(); return;
        default: return;
    }
}

void CWLKAboutWindow::OpenFolder(const Text& folder) {
    ShellExecuteW(window_, L"open", AsWide(folder), nullptr, nullptr, SW_SHOWNORMAL);
}

// The report goes in as the program's own copy, which the history leaves out.
void CWLKAboutWindow::CopyReport() {
    facts_ = ReadEnvironmentFacts(settings_, state_());
    bool copied;
    {
        history::OwnCopyScope ownCopy;
        copied = bridge::SetClipboardText(BuildEnvironmentReport(facts_));
    }
    if (copied) SetText(window_, IDC_ABOUT_STATUS, Str(kTextCopied));
    else log::EventLog::Instance().WriteError(u"Cannot copy the environment report");
}

void CWLKAboutWindow::SaveReport() {
    const platform::LocalTime now = platform::Current().system.Now();
    const std::optional<Text> path = AskReportPath(window_, ProblemReportFileName(now));
    if (!path || !window_) return;
    facts_ = ReadEnvironmentFacts(settings_, state_());
    const ProblemReportParts parts{facts_.logPath, facts_.settingsPath,
                                   BuildEnvironmentReport(facts_)};
    if (WriteProblemReport(*path, parts, now)) {
        log::EventLog::Instance().Write(u"Problem report saved to " + *path);
        SetText(window_, IDC_ABOUT_STATUS, Format(Str(kTextSaved), {*path}));
    } else {
        SetText(window_, IDC_ABOUT_STATUS, Str(kTextCannotSave));
        MessageBoxW(window_, AsWide(Str(kTextCannotSave)), L"Wordlark", MB_OK | MB_ICONERROR);
    }
}

}  // namespace wlk::info
