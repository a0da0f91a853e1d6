#include "app/tray_icon_win32.h"

#include <algorithm>

#include "app/tray_commands.h"
#include "log/event_log.h"
#include "res/resource.h"

namespace wlk::app {

namespace {
constexpr UINT kIconId = 10;

template <size_t N>
void CopyText(wchar_t (&into)[N], const Text& text) {
    size_t count = std::min(text.size(), N - 1);
    std::copy_n(reinterpret_cast<const wchar_t*>(text.data()), count, into);
    into[count] = L'\0';
}
}  // namespace

NOTIFYICONDATAW TrayIcon::Data(bool on, const Text& tooltip) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kMsgTrayIcon;
    data.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(on ? IDI_WORDLARK : IDI_WORDLARK_ALT));
    CopyText(data.szTip, tooltip);
    return data;
}

bool TrayIcon::Update(TrayIconMode mode, const TrayFacts& facts, const Text& balloon,
                      bool warning) {
    lastOn_ = facts.servicesOn;
    lastTooltip_ = TrayTooltip(facts);
    NOTIFYICONDATAW data = Data(lastOn_, lastTooltip_);
    if (!balloon.empty()) {
        data.uFlags |= NIF_INFO;
        CopyText(data.szInfo, balloon);
        CopyText(data.szInfoTitle, u"Wordlark");
        data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_USER;
    }
    if (mode == TrayIconMode::Add) {
        if (!Shell_NotifyIconW(NIM_ADD, &data)) return false;
        data.uVersion = NOTIFYICON_VERSION;
        Shell_NotifyIconW(NIM_SETVERSION, &data);
        return true;
    }
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TrayIcon::ShowBalloon(const TrayFacts& facts, const Text& text, UINT milliseconds) {
    log::EventLog::Instance().Write(u"Balloon: " + text);
    Update(TrayIconMode::Modify, facts, text);
    SetTimer(window_, kTimerBalloon, milliseconds, nullptr);
}

void TrayIcon::HideBalloon() {
    KillTimer(window_, kTimerBalloon);
    NOTIFYICONDATAW data = Data(lastOn_, lastTooltip_);
    data.uFlags |= NIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::Remove() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
}

}  // namespace wlk::app
