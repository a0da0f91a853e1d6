// What became of the query a hotkey press asked the hook component for. When
// none is read within a short time (a target the hook cannot reach, or one
// too busy to answer), the tray window takes the target's facts itself; a
// query that still comes afterwards is dropped, so one press opens one menu.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace wlk::app {

inline constexpr uint32_t kQueryFallbackMs = 300;

class PendingQuery {
public:
    // The press asked for a query from `target`; `queriesRead` is the count
    // of queries read so far.
    void Begin(platform::WindowId target, uint32_t queriesRead);
    // A query reached the tray window: whether to hand it on. Only the query a
    // press is waiting for is: one after the facts were taken directly, or
    // one that no press asked for (any program can write the area), is not.
    bool TakeQuery();
    // The facts of the last press were taken directly; its query may still come.
    bool IsServedDirectly() const { return state_ == State::ServedDirectly; }
    // The time is up: the window whose facts are to be taken directly, or
    // nothing when a query was read in time (it is on its way) or none is
    // awaited.
    std::optional<platform::WindowId> TakeTimeout(uint32_t queriesRead);

private:
    enum class State { Idle, Waiting, ServedDirectly };
    State state_ = State::Idle;
    platform::WindowId target_ = 0;
    uint32_t queriesReadAtBegin_ = 0;
};

}  // namespace wlk::app
