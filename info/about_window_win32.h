// The About window: the program's name and version, the versions of the hook
// component and the phrase editor, the settings and phrases folders (each a
// button that opens it in Explorer), a button that copies the environment
// report into the clipboard and one that saves the problem report where the
// user chooses. Modeless, one at a time.
#pragma once

#include <functional>

#include "info/environment_facts_win32.h"
#include "platform/win32/windows_api.h"

namespace wlk::info {

class CWLKAboutWindow {
public:
    // `state` is asked each time the facts are read: when the window opens,
    // and at each copy or save, so that these tell the program as it is then.
    CWLKAboutWindow(const settings::Settings& settings, std::function<ProgramState()> state)
        : settings_(settings), state_(std::move(state)) {}
    ~CWLKAboutWindow();
    CWLKAboutWindow(const CWLKAboutWindow&) = delete;
    CWLKAboutWindow& operator=(const CWLKAboutWindow&) = delete;

    // Opens the window; one already open is only brought to the front.
    void Show(HINSTANCE instance);
    void Close();
    // The window while one is open, for the message loop's dialog keys.
    static HWND OpenWindow() { return openWindow_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void Fill();
    void OnCommand(UINT id);
    void OpenFolder(const Text& folder);
    void CopyReport();
    void SaveReport();

    const settings::Settings& settings_;
    std::function<ProgramState()> state_;
    EnvironmentFacts facts_;
    HWND window_ = nullptr;
    static inline HWND openWindow_ = nullptr;
};

}  // namespace wlk::info
