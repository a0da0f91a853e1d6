// The nested message loops of the tray window's thread: the phrase menu, an
// insertion with its prompts and error boxes, the tray menu, a message box.
// While one runs, a new call of the phrase menu is dropped (it would run
// inside the open one and free what its items point to), and work that would
// pull things from under an open loop (an exit, a reload of the library)
// waits until the last loop has ended.
#pragma once

#include <functional>
#include <vector>

namespace wlk::app {

class ModalLoops {
public:
    // `closeAll` ends the open menus and dialogs.
    explicit ModalLoops(std::function<void()> closeAll) : closeAll_(std::move(closeAll)) {}

    // Marks one nested loop for its lifetime.
    class Scope {
    public:
        explicit Scope(ModalLoops& loops) : loops_(loops) { ++loops_.depth_; }
        ~Scope() { loops_.Leave(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ModalLoops& loops_;
    };

    bool Busy() const { return depth_ > 0; }
    // Runs `work` now when no loop runs, else once the last one has ended,
    // in the order asked.
    void WhenIdle(std::function<void()> work);
    // Ends the open loops; what waits for them runs as they unwind.
    void CloseAll() const;

private:
    void Leave();

    std::function<void()> closeAll_;
    int depth_ = 0;
    std::vector<std::function<void()>> waiting_;
};

}  // namespace wlk::app
