#include "app/pending_query.h"

namespace wlk::app {

void PendingQuery::Begin(platform::WindowId target, uint32_t queriesRead) {
    state_ = State::Waiting;
    target_ = target;
    queriesReadAtBegin_ = queriesRead;
}

bool PendingQuery::TakeQuery() {
    const bool awaited = state_ == State::Waiting;
    state_ = State::Idle;
    return awaited;
}

std::optional<platform::WindowId> PendingQuery::TakeTimeout(uint32_t queriesRead) {
    if (state_ != State::Waiting || queriesRead != queriesReadAtBegin_) return std::nullopt;
    state_ = State::ServedDirectly;
    return target_;
}

}  // namespace wlk::app
