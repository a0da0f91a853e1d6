// The hidden main window: its message loop is the program's main loop, and it
// answers the requests of later starts of the program.
#pragma once

#include <windows.h>

namespace wlk::app {

class MainWindow {
public:
    MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    bool Create(HINSTANCE instance);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void OnInstanceMessage(WPARAM wParam);
    void OnCommand(WPARAM wParam);
    void OnDestroy();

    HWND hwnd_ = nullptr;
};

}  // namespace wlk::app
