#include "web/update_window_win32.h"

#include <shellapi.h>

#include "language/interface_strings.h"
#include "platform/text.h"
#include "platform/win32/wide.h"
#include "res/resource.h"
#include "web/update_server.h"
#include "web/version_info.h"

namespace wlk::web {

namespace {

using platform::win32::AsWide;

constexpr int kMaxDays = 30;
constexpr uint32_t kTextHeadline = 149, kTextLatest = 150, kTextLastCheck = 152,
                   kTextAutoCheck = 153, kTextCheckEvery = 154, kTextNextCheck = 155,
                   kTextOwnVersion = 157, kTextWebVersion = 158, kTextUnavailable = 159,
                   kTextClose = 241, kTextDownload = 242, kTextPortable = 243, kTextTitle = 244,
                   kTextEveryDays = 246, kTextAskSkip = 289, kTextWhatsNew = 1700, kTextSkip = 1701,
                   kTextNotHttps = 1702, kTextNever = 1703;

Text Str(uint32_t id) {
    return language::GetString(id);
}

void SetText(HWND dialog, int id, const Text& text) {
    SetDlgItemTextW(dialog, id, AsWide(text));
}

Text Joined(const std::vector<int>& parts) {
    Text text;
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? u"." : u"") + ToText(parts[i]);
    return text;
}

// A moment as the user's clock shows it; "Never" for none.
Text LocalTime(uint64_t fileTime) {
    if (fileTime == 0) return Str(kTextNever);
    const FILETIME utc{DWORD(fileTime), DWORD(fileTime >> 32)};
    SYSTEMTIME universal, local;
    if (!FileTimeToSystemTime(&utc, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return Str(kTextUnavailable);
    wchar_t text[32];
    swprintf(text, 32, L"%.2d-%.2d-%.4d %.2d:%.2d:%.2d", local.wDay, local.wMonth, local.wYear,
             local.wHour, local.wMinute, local.wSecond);
    return platform::win32::FromWide(text);
}

}  // namespace

CWLKUpdateWindow::~CWLKUpdateWindow() {
    Close();
}

void CWLKUpdateWindow::Show(HINSTANCE instance, const UpdateWindowFacts& facts) {
    if (!window_) {
        facts_ = facts;
        CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_UPDATE), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
        if (!window_) return;
    }
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
}

void CWLKUpdateWindow::Close() {
    if (window_) DestroyWindow(window_);
    window_ = openWindow_ = nullptr;
}

INT_PTR CALLBACK CWLKUpdateWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<CWLKUpdateWindow*>(lParam);
        self->window_ = openWindow_ = dialog;
        self->Fill();
        return TRUE;
    }
    auto* self = reinterpret_cast<CWLKUpdateWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
        case WM_COMMAND: self->OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_CLOSE: self->Close(); return TRUE;
        default: return FALSE;
    }
}

void CWLKUpdateWindow::Fill() {
    const UpdateResult& result = facts_.result;
    const bool newer = !result.webVersionText.empty();
    SetWindowTextW(window_, AsWide(u"Wordlark - " + Str(kTextTitle)));
    SetText(window_, IDC_UPDATE_HEADLINE,
            !result.error.empty() ? result.error : Str(newer ? kTextHeadline : kTextLatest));
    SetText(window_, IDC_UPDATE_OWN_LABEL, Str(kTextOwnVersion));
    SetText(window_, IDC_UPDATE_OWN, Joined(result.ownVersion));
    SetText(window_, IDC_UPDATE_WEB_LABEL, Str(kTextWebVersion));
    SetText(window_, IDC_UPDATE_WEB,
            result.webVersion.empty() ? Str(kTextUnavailable) : Joined(result.webVersion));
    SetText(window_, IDC_UPDATE_LAST_LABEL, Str(kTextLastCheck));
    SetText(window_, IDC_UPDATE_LAST, LocalTime(facts_.lastCheck));
    SetText(window_, IDC_UPDATE_NEXT_LABEL, Str(kTextNextCheck));
    SetText(window_, IDC_UPDATE_NEXT, LocalTime(facts_.autoCheck ? facts_.nextCheck : 0));
    SetText(window_, IDC_UPDATE_AUTO, Str(kTextAutoCheck));
    SetText(window_, IDC_UPDATE_DAYS_LABEL, Str(kTextCheckEvery));
    CheckDlgButton(window_, IDC_UPDATE_AUTO, facts_.autoCheck ? BST_CHECKED : BST_UNCHECKED);
    HWND days = GetDlgItem(window_, IDC_UPDATE_DAYS);
    for (int n = 1; n <= kMaxDays; ++n)
        SendMessageW(days, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(AsWide(Format(Str(kTextEveryDays), {ToText(n)}))));
    SendMessageW(days, CB_SETCURSEL, WPARAM(facts_.days - 1), 0);

    // The server's links open in the browser only when they are https; any
    // other is shown as text and its button stays off.
    Text status = result.status;
    const std::pair<int, const Text*> links[] = {{IDC_UPDATE_DOWNLOAD, &result.downloadUrl},
                                                 {IDC_UPDATE_PORTABLE, &result.portableUrl},
                                                 {IDC_UPDATE_WHATS_NEW, &result.whatsNewUrl}};
    for (const auto& [id, url] : links) {
        EnableWindow(GetDlgItem(window_, id), IsSafeLink(*url));
        if (!url->empty() && !IsSafeLink(*url))
            status += u"\r\n" + Format(Str(kTextNotHttps), {*url});
    }
    SetText(window_, IDC_UPDATE_STATUS, status);
    SetText(window_, IDC_UPDATE_DOWNLOAD, Str(kTextDownload));
    SetText(window_, IDC_UPDATE_PORTABLE, Str(kTextPortable));
    SetText(window_, IDC_UPDATE_WHATS_NEW, Str(kTextWhatsNew));
    SetText(window_, IDC_UPDATE_SKIP, Str(kTextSkip));
    EnableWindow(GetDlgItem(window_, IDC_UPDATE_SKIP), newer);
    SetText(window_, IDCANCEL, Str(kTextClose));
}

void CWLKUpdateWindow::OnCommand(UINT id, UINT code) {
    switch (id) {
        case IDC_UPDATE_DOWNLOAD: OpenLink(facts_.result.downloadUrl); return;
        case IDC_UPDATE_PORTABLE: OpenLink(facts_.result.portableUrl); return;
        case IDC_UPDATE_WHATS_NEW: OpenLink(facts_.result.whatsNewUrl); return;
        case IDC_UPDATE_SKIP:
            if (MessageBoxW(window_, AsWide(Str(kTextAskSkip)), L"Wordlark",
                            MB_YESNO | MB_ICONQUESTION) == IDYES) {
                if (actions_.skipVersion) actions_.skipVersion(facts_.result.webVersionText);
                Close();
            }
            return;
        case IDC_UPDATE_AUTO:
        case IDC_UPDATE_DAYS:
            if (id == IDC_UPDATE_DAYS && code != CBN_SELCHANGE) return;
            facts_.autoCheck = IsDlgButtonChecked(window_, IDC_UPDATE_AUTO) == BST_CHECKED;
            facts_.days =
                int(SendDlgItemMessageW(window_, IDC_UPDATE_DAYS, CB_GETCURSEL, 0, 0)) + 1;
            if (actions_.scheduleChanged) actions_.scheduleChanged(facts_.autoCheck, facts_.days);
            return;
        case IDCANCEL: Close(); return;
        default: return;
    }
}

void CWLKUpdateWindow::OpenLink(const Text& url) {
    if (IsSafeLink(url))
        ShellExecuteW(window_, L"open", AsWide(url), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace wlk::web
