// The process-wide clipboard spy: a hidden window registered as a clipboard
// format listener or as a clipboard viewer, a watchdog that re-registers it
// when changes stop arriving, and the observers it tells of every change.
//
// The window itself is made by the Windows side (class "ClipboardSpyWndHidden"),
// whose procedure calls the On… handlers below; this class holds the logic.
#pragma once

#include <cstdint>
#include <map>

#include "platform/types.h"

namespace wlk::history {

inline constexpr char16_t kSpyWindowClass[] = u"ClipboardSpyWndHidden";
inline constexpr char16_t kSpyMessageName[] = u"{CC278AD4-3207-4aeb-B6BC-0342A5E6815D}";
inline constexpr uintptr_t kSpyTimerId = 101;
inline constexpr uint32_t kSpyTimerMs = 1000;
// wParam of the spy message.
inline constexpr uintptr_t kSpyClipboardChanged = 0;
inline constexpr uintptr_t kSpyStateChanged = 1;

// The window messages the spy handles, by their Windows numbers.
inline constexpr uint32_t kWmDrawClipboard = 0x0308;
inline constexpr uint32_t kWmChangeCbChain = 0x030D;
inline constexpr uint32_t kWmClipboardUpdate = 0x031D;

// Spy methods; "installed" means not kSpyNotInstalled.
inline constexpr int kSpyNotInstalled = -1;
inline constexpr int kSpyViewer = 0;
inline constexpr int kSpyListener = 1;

class IClipboardObserver {
public:
    virtual ~IClipboardObserver() = default;
    // The clipboard changed; `owner` is its owner window at that time.
    virtual void OnClipboardChanged(platform::WindowId owner) = 0;
    // The spy went down and could not register again.
    virtual void OnSpyStateChanged() = 0;
};

// Makes and destroys the spy window. Create registers the class when needed
// and creates the window as a child of `parent`; its WM_CREATE calls
// CClipboardSpy::OnCreate, and the window is 0 when that failed. Destroy's
// WM_DESTROY calls CClipboardSpy::OnDestroy.
class ISpyWindowHost {
public:
    virtual ~ISpyWindowHost() = default;
    virtual platform::WindowId Create(platform::WindowId parent) = 0;
    virtual void Destroy(platform::WindowId window) = 0;
};

class CClipboardSpy {
public:
    // The one instance of the process.
    static CClipboardSpy& Instance();

    // Who makes the window; set by the Windows side before the first start.
    void SetWindowHost(ISpyWindowHost* host) { host_ = host; }

    // False at once when already installed; otherwise creates the spy window
    // under `parent` and returns whether it is installed.
    bool StartSpy(bool preferListener, platform::WindowId parent);
    // Destroys the window; true when the spy is no longer installed.
    bool StopSpy();
    void AddObserver(IClipboardObserver* observer);
    void ClearObservers();
    bool IsInstalled() const { return method_ != kSpyNotInstalled; }
    bool IsViewerMethod() const { return method_ == kSpyViewer; }
    int Method() const { return method_; }
    platform::WindowId Window() const { return window_; }
    platform::WindowId NextViewer() const { return nextViewer_; }
    uint32_t LastSequence() const { return lastSequence_; }
    // The registered spy message (RegisterWindowMessageW of kSpyMessageName).
    uint32_t SpyMessage();

    // Window handlers. OnCreate installs the spy on `window` and returns
    // whether it is installed (WM_CREATE returns 0 then, else -1).
    bool OnCreate(platform::WindowId window);
    void OnDestroy();
    void OnClipboardUpdate();
    void OnDrawClipboard();
    void OnChangeCbChain(platform::WindowId removed, platform::WindowId next);
    void OnSpyMessage(uintptr_t wParam);
    // Timer 101, the watchdog; false for any other timer.
    bool OnTimer(uintptr_t id);

private:
    bool Install();
    void Uninstall();
    void PostSpyMessage(uintptr_t wParam);
    void PassToNextViewer(uint32_t message, uintptr_t wParam, intptr_t lParam);

    uint32_t lastSequence_ = 0;
    bool reinstalling_ = false;
    platform::WindowId nextViewer_ = 0;
    bool preferListener_ = false;
    platform::WindowId window_ = 0;
    std::map<IClipboardObserver*, int32_t> observers_;
    int method_ = kSpyNotInstalled;
    ISpyWindowHost* host_ = nullptr;
};

}  // namespace wlk::history
