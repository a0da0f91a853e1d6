// The update window: what a check found (both versions, the server's status
// or the error), when the last and the next automatic check are, the switch
// and days of the automatic check, and the buttons that open the download
// pages in the browser or skip this version. Modeless, so that the tray
// window keeps answering while it is open.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win32/windows_api.h"
#include "web/update_worker.h"

namespace wlk::web {

struct UpdateWindowFacts {
    UpdateResult result;
    uint64_t lastCheck = 0;  // FILETIME (UTC); 0 when never
    uint64_t nextCheck = 0;  // FILETIME (UTC); 0 when automatic checks are off
    bool autoCheck = true;
    int days = 7;
};

struct UpdateWindowActions {
    std::function<void(bool autoCheck, int days)> scheduleChanged;
    std::function<void(const Text& version)> skipVersion;
};

class CWLKUpdateWindow {
public:
    explicit CWLKUpdateWindow(UpdateWindowActions actions) : actions_(std::move(actions)) {}
    ~CWLKUpdateWindow();

    // Shows the facts; a window already open is only brought to the front.
    void Show(HINSTANCE instance, const UpdateWindowFacts& facts);
    bool IsOpen() const { return window_ != nullptr; }
    // The window while one is open, for the message loop's dialog keys.
    static HWND OpenWindow() { return openWindow_; }
    HWND Window() const { return window_; }
    void Close();

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void Fill();
    void OnCommand(UINT id, UINT code);
    void OpenLink(const Text& url);

    UpdateWindowActions actions_;
    UpdateWindowFacts facts_;
    HWND window_ = nullptr;
    static inline HWND openWindow_ = nullptr;
};

}  // namespace wlk::web
