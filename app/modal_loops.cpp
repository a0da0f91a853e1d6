#include "app/modal_loops.h"

namespace wlk::app {

void ModalLoops::WhenIdle(std::function<void()> work) {
    if (depth_ == 0)
        work();
    else
        waiting_.push_back(std::move(work));
}

void ModalLoops::CloseAll() const {
    if (depth_ > 0) closeAll_();
}

void ModalLoops::Leave() {
    if (--depth_ > 0) return;
    std::vector<std::function<void()>> waiting;
    waiting.swap(waiting_);
    for (auto& work : waiting) WhenIdle(std::move(work));
}

}  // namespace wlk::app
