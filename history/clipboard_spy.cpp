#include "history/clipboard_spy.h"

#include <vector>

#include "log/event_log.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace wlk::history {

namespace {

log::EventLog& Log() {
    return log::EventLog::Instance();
}

}  // namespace

CClipboardSpy& CClipboardSpy::Instance() {
    static CClipboardSpy spy;
    return spy;
}

uint32_t CClipboardSpy::SpyMessage() {
    return platform::Current().ui.RegisterMessage(kSpyMessageName);
}

bool CClipboardSpy::StartSpy(bool preferListener, platform::WindowId parent) {
    if (IsInstalled()) return false;
    if (!host_) {
        Log().WriteError(u"CClipboardSpy: no window host, the spy cannot start");
        return false;
    }
    preferListener_ = preferListener;
    host_->Create(parent);
    if (!IsInstalled()) window_ = 0;
    return IsInstalled();
}

bool CClipboardSpy::StopSpy() {
    if (window_ && host_) host_->Destroy(window_);
    return !IsInstalled();
}

void CClipboardSpy::AddObserver(IClipboardObserver* observer) {
    observers_[observer] = 0;
}

void CClipboardSpy::ClearObservers() {
    observers_.clear();
}

bool CClipboardSpy::OnCreate(platform::WindowId window) {
    window_ = window;
    return Install();
}

void CClipboardSpy::OnDestroy() {
    Uninstall();
    window_ = 0;
}

bool CClipboardSpy::Install() {
    auto& clipboard = platform::Current().clipboard;
    method_ = kSpyNotInstalled;
    if (preferListener_ && clipboard.AddFormatListener(window_)) method_ = kSpyListener;
    if (method_ == kSpyNotInstalled) {
        const platform::WindowId previous = clipboard.Viewer();
        const platform::WindowId next = clipboard.SetViewer(window_);
        if (next == 0 && clipboard.LastError() != 0) return false;
        nextViewer_ = next;
        if (previous)
            platform::Current().ui.SendMessage(previous, kWmChangeCbChain, 0, intptr_t(window_));
        method_ = kSpyViewer;
    }
    Log().Write(u"ReInstall entity for HWNDClipboardSpy IS IMPLEMENTED");
    Log().Write(IsViewerMethod()
                    ? u"Well, start ReInstall entity for HWNDClipboardSpy"
                    : u"N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA");
    platform::Current().ui.SetTimer(window_, kSpyTimerId, kSpyTimerMs);
    return true;
}

void CClipboardSpy::Uninstall() {
    auto& clipboard = platform::Current().clipboard;
    if (method_ == kSpyListener) {
        clipboard.RemoveFormatListener(window_);
    } else if (method_ == kSpyViewer) {
        clipboard.ChangeChain(window_, nextViewer_);
        nextViewer_ = 0;
    }
    method_ = kSpyNotInstalled;
    platform::Current().ui.KillTimer(window_, kSpyTimerId);
}

void CClipboardSpy::PostSpyMessage(uintptr_t wParam) {
    platform::Current().ui.PostMessage(window_, SpyMessage(), wParam, 0);
}

void CClipboardSpy::PassToNextViewer(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (nextViewer_ == window_)
        nextViewer_ = 0;  // the chain came back to us: passing it on would loop
    else if (nextViewer_)
        platform::Current().ui.SendMessage(nextViewer_, message, wParam, lParam);
}

void CClipboardSpy::OnClipboardUpdate() {
    PostSpyMessage(kSpyClipboardChanged);
}

void CClipboardSpy::OnDrawClipboard() {
    if (reinstalling_) return;
    PostSpyMessage(kSpyClipboardChanged);
    PassToNextViewer(kWmDrawClipboard, 0, 0);
}

void CClipboardSpy::OnChangeCbChain(platform::WindowId removed, platform::WindowId next) {
    if (removed == nextViewer_)
        nextViewer_ = next;
    else
        PassToNextViewer(kWmChangeCbChain, removed, intptr_t(next));
}

void CClipboardSpy::OnSpyMessage(uintptr_t wParam) {
    if (observers_.empty()) {
        Log().WriteError(u"Clipboard Observers is empty");
        return;
    }
    // An observer may change the set while it is told.
    std::vector<IClipboardObserver*> observers;
    for (const auto& [observer, unused] : observers_) observers.push_back(observer);
    if (wParam == kSpyClipboardChanged) {
        auto& clipboard = platform::Current().clipboard;
        lastSequence_ = clipboard.SequenceNumber();
        const platform::WindowId owner = clipboard.Owner();
        for (auto* observer : observers) observer->OnClipboardChanged(owner);
    } else if (wParam == kSpyStateChanged) {
        for (auto* observer : observers) observer->OnSpyStateChanged();
    }
}

bool CClipboardSpy::OnTimer(uintptr_t id) {
    if (id != kSpyTimerId) return false;
    const uint32_t sequence = platform::Current().clipboard.SequenceNumber();
    if (sequence == lastSequence_) return true;
    lastSequence_ = sequence;
    if (!IsInstalled()) {
        Log().Write(Format(u"ERRROR: REINSTALL: IsInstalled=%d", {ToText(0)}));
        return true;
    }
    reinstalling_ = true;
    Uninstall();
    if (IsInstalled()) Log().Write(Format(u"ERROR: REINSTALL: After Uninstall=%d", {ToText(1)}));
    if (!Install()) {
        Log().Write(Format(u"REINSTALL: InstalledNew=%d", {ToText(0)}));
        PostSpyMessage(kSpyStateChanged);
    }
    reinstalling_ = false;
    return true;
}

}  // namespace wlk::history
